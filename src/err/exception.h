// The module's one exception class and the raising of module exceptions.
#pragma once

#include <cstdint>

#include "funcplug/host_abi.h"

namespace err {

// Kind codes and what each stands for; the message of each kind is in the maps (maps.h).
namespace kind {
constexpr uint8_t kOutOfMemory = 2;
constexpr uint8_t kInOutError = 3;
constexpr uint8_t kExternalException = 4;
constexpr uint8_t kDivisionByZero = 6;
constexpr uint8_t kRangeError = 7;
constexpr uint8_t kIntegerOverflow = 8;
constexpr uint8_t kArgumentError = 10;
constexpr uint8_t kInvalidOperation = 11;
constexpr uint8_t kFloatDivisionByZero = 12;
constexpr uint8_t kFloatOverflow = 13;
constexpr uint8_t kFloatUnderflow = 14;
constexpr uint8_t kInvalidPointer = 15;
constexpr uint8_t kInvalidCast = 16;
constexpr uint8_t kAccessViolation = 18;
constexpr uint8_t kPrivilegedInstruction = 19;
constexpr uint8_t kStackOverflow = 20;
constexpr uint8_t kControlC = 21;
constexpr uint8_t kVariantError = 22;
constexpr uint8_t kAssertionFailed = 25;
constexpr uint8_t kInterfaceNotSupported = 27;
constexpr uint8_t kSafecallException = 32;
}  // namespace kind

// One allocation holds the object and its message characters, so that making an object has a
// single point of failure; when even that fails, Create hands out a static "Out of memory"
// object, which delete leaves alone.
class Exception {
public:
    // Whoever ends the exception deletes the object; the virtual destructor dispatches into the
    // module, so a host never needs the module's allocator.
    virtual ~Exception();

    static Exception* Create(uint8_t kind, const char* message);
    // Formats with %s %d %x %p over pointer-sized argument values (texts as their addresses).
    static Exception* CreateFmt(uint8_t kind, const char* format, const uintptr_t* arguments, int count);

    static const char* ClassName() { return "Exception"; }

    static void* operator new(std::size_t, void* place) { return place; }
    static void operator delete(void* object);

    uint8_t Kind = 0;
    uint32_t IoResultCode = 0;
    const char* Message = nullptr;
    const void* OsRecord = nullptr;
    uint32_t Reserved = 0;
    void (*DestroyNotify)(void* context, void* object) = nullptr;
    void* DestroyNotifyContext = nullptr;

private:
    Exception(uint8_t kind, const char* message) : Kind(kind), Message(message) {}
    static Exception* ReserveOutOfMemory();
};

// Raises the object as a module exception: code 0x0EEDFADE, non-continuable, seven parameters,
// [0] the raise address, [1] the object. Never returns.
[[noreturn]] void RaiseModuleException(Exception* object, const void* raise_address);

// Kind 10 with the refusing routine's name as the message, raised from the caller's return
// address.
[[noreturn]] void RaiseArgumentError(const char* routine_name);

}  // namespace err
