# The Windows product: funcplug.dll (32-bit) or funcplug64.dll (64-bit), the command-line host
# funcplug.exe / funcplug64.exe beside it, and the Windows-only test program. Included by
# CMakeLists.txt when WIN32.
enable_language(RC)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(FUNCPLUG_WIN_NAME funcplug64)
else()
  set(FUNCPLUG_WIN_NAME funcplug)
endif()

# The C and C++ run-time go inside the DLL: it imports system DLLs only.
set(FUNCPLUG_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

# The .def file from the one catalogue table.
set(FUNCPLUG_DEF ${CMAKE_BINARY_DIR}/${FUNCPLUG_WIN_NAME}.def)
add_custom_command(
  OUTPUT ${FUNCPLUG_DEF}
  COMMAND ${CMAKE_CXX_COMPILER} -E -P -x c++ -I${CMAKE_SOURCE_DIR}/src
          ${CMAKE_SOURCE_DIR}/src/platform/win32/funcplug.def.in -o ${FUNCPLUG_DEF}
  DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/win32/funcplug.def.in ${CMAKE_SOURCE_DIR}/src/pfunc/catalogue.h
  COMMENT "Generating ${FUNCPLUG_WIN_NAME}.def from the catalogue"
  VERBATIM)
add_custom_target(funcplug_def DEPENDS ${FUNCPLUG_DEF})

add_library(funcplug SHARED $<TARGET_OBJECTS:funcplug_objects> src/platform/win32/funcplug.rc)
add_dependencies(funcplug funcplug_def)
set_target_properties(funcplug PROPERTIES PREFIX "" OUTPUT_NAME ${FUNCPLUG_WIN_NAME} LINK_DEPENDS ${FUNCPLUG_DEF})
target_link_options(funcplug PRIVATE ${FUNCPLUG_STATIC_RUNTIME} ${FUNCPLUG_DEF})
target_link_libraries(funcplug PRIVATE user32 advapi32)

add_executable(funcplug_host src/host/funcplug.cpp src/host/loader_win32.cpp src/host/version_win32.cpp
  src/pfunc/catalogue_table.cpp)
target_include_directories(funcplug_host PRIVATE src include)
target_link_options(funcplug_host PRIVATE ${FUNCPLUG_STATIC_RUNTIME})
target_link_libraries(funcplug_host PRIVATE version)
set_target_properties(funcplug_host PROPERTIES OUTPUT_NAME ${FUNCPLUG_WIN_NAME})
add_dependencies(funcplug_host funcplug)

# Checks of the platform layer that need Windows itself (run under Wine by scripts/test_windows.sh).
if(FUNCPLUG_TESTS AND EXISTS ${CMAKE_SOURCE_DIR}/tests/windows/platform_test.cpp)
  add_executable(funcplug_platform_test tests/windows/platform_test.cpp $<TARGET_OBJECTS:funcplug_objects>)
  target_include_directories(funcplug_platform_test PRIVATE src include)
  target_link_options(funcplug_platform_test PRIVATE ${FUNCPLUG_STATIC_RUNTIME})
  target_link_libraries(funcplug_platform_test PRIVATE user32 advapi32)
  set_target_properties(funcplug_platform_test PROPERTIES OUTPUT_NAME ${FUNCPLUG_WIN_NAME}_platform_test)
  add_dependencies(funcplug_platform_test funcplug)
endif()
