// What a host needs to know about funcplug beyond the exported names: the signatures of the entry
// points, the layout of the module's exception object, and the form in which a module exception
// reaches a C++ host on POSIX systems. The module itself includes this header, and checks its own
// class against the layout below.
#pragma once

#include <cstddef>
#include <cstdint>

namespace funcplug {

// Entry points. All use the C calling convention; the get... exports are all FunctionExport.
using FunctionExport = void (*)();
using TextSetter = void (*)(const char* text);          // SetFile, SetPath
using TextGetter = const char* (*)();                   // GetFile, Copyright, GetShortInfo, GetInfo
using TypeGetter = int32_t (*)();                       // GetType
using DataSetter = void (*)(void* value);               // SetData
using DataGetter = void* (*)();                         // GetData

// Code of a module exception (a structured exception on Windows), and its parameters.
constexpr uint32_t kModuleExceptionCode = 0x0EEDFADE;
constexpr uint32_t kNonContinuable = 1;
constexpr uint32_t kModuleExceptionParameters = 7;
constexpr size_t kRaiseAddressParameter = 0;
constexpr size_t kExceptionObjectParameter = 1;

// The field layout of an exception object, as a host reads it from parameter [1]. The object is
// destroyed through its class's virtual destructor: DestroyException below.
struct ExceptionLayout {
    const void* class_pointer;
    uint8_t Kind;
    uint32_t IoResultCode;
    const char* Message;  // NUL-terminated, owned by the object
    const void* OsRecord;
    uint32_t Reserved;
    void (*DestroyNotify)(void* context, void* object);
    void* DestroyNotifyContext;
};

// Ends an exception object: calls its deleting destructor, the second entry of the table the
// class pointer points at (the Itanium C++ ABI of GCC and Clang, MinGW included), which runs
// DestroyNotify if set and frees the object with the module's own allocator.
inline void DestroyException(const void* object) {
#if defined(_WIN32) && defined(__i386__)
    using DeletingDestructor = void(__attribute__((thiscall)) *)(const void*);  // `this` in ECX
#else
    using DeletingDestructor = void (*)(const void*);
#endif
    auto table = *static_cast<DeletingDestructor const* const*>(object);
    table[1](object);
}

// On POSIX systems there is no RaiseException: a module exception leaves the export as a C++
// exception of this type, carrying the record a Windows host would receive.
struct ModuleRaise {
    uint32_t code;
    uint32_t flags;
    const void* address;
    uint32_t parameter_count;
    uintptr_t parameters[15];
};

}  // namespace funcplug
