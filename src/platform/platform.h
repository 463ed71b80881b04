// The narrow interface between funcplug and the operating system. Declared once here; one
// implementation per platform (posix/, win32/).
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// ---- memory -------------------------------------------------------------------------------------
// Every block the module owns comes from here. A null result means the request cannot be met.
void* Allocate(std::size_t size);
void* Reallocate(void* block, std::size_t size);
void Release(void* block);

// Makes the allocation after the next `successes` ones fail, and every one after it until reset
// with a negative count. Reached only by tests linked against the module's objects.
void FailAllocationsAfter(long successes);

// ---- formatting ---------------------------------------------------------------------------------
// Applies a format with %s (text), %d (signed decimal), %x (lower-case hexadecimal) and
// %p (eight upper-case hexadecimal digits; sixteen on 64-bit builds) to pointer-sized argument
// values. Writes at most kFormatLimit bytes, the NUL included; returns the length written.
constexpr std::size_t kFormatBufferSize = 2048;
constexpr std::size_t kFormatLimit = 1024;
std::size_t FormatText(char* buffer, const char* format, const uintptr_t* arguments, int count);

// ---- exceptions ---------------------------------------------------------------------------------
// Raises an exception record with the given code, flags and parameters, its exception address
// being `address`. Windows: RaiseException. POSIX: a C++ exception funcplug::ModuleRaise.
[[noreturn]] void RaiseException(uint32_t code, uint32_t flags, uint32_t count, const uintptr_t* parameters,
                                 const void* address);

// ---- modules ------------------------------------------------------------------------------------
// The file name and load base of the module holding `address`, if the address lies in committed
// memory of a loaded module.
bool ModuleOfAddress(const void* address, char* name, std::size_t name_size, const void** base);
// The full path of funcplug's own module file.
bool OwnModuleName(char* name, std::size_t name_size);

// ---- floating-point unit ------------------------------------------------------------------------
// The machine's override of the six x87 mask bits at load, if it has one (Windows: the registry
// value "FPUMaskValue", consulted on one keyboard type only; POSIX: never).
bool FpuMaskOverride(uint32_t* mask_value);

// ---- reporting ----------------------------------------------------------------------------------
// Shows a failure text to the user (Windows: a system-modal message box; POSIX: stderr).
void ShowMessage(const char* text);
// Stops the module with the exit code.
[[noreturn]] void Halt(int exit_code);

}  // namespace platform
