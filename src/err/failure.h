// Operating-system exceptions and unhandled failures: the code map, the objects made from an
// exception record, the failure text, and the hooks through which the run-time support reaches
// all of it.
//
// The module's run-time is its own C++ code, so the hooks are plain pointers in `Hooks`, filled at
// start-up and emptied at shut-down; nothing of the C++ library (std::set_new_handler,
// std::set_terminate) is involved. The run-time's side consults them through RunError and Assert;
// the Windows top-level handler around the loader notifications uses ExceptObjProc and
// ExceptProc.
#pragma once

#include <cstddef>
#include <cstdint>

#include "err/exception.h"

namespace err {

// The operating-system exception record, laid out as the Windows EXCEPTION_RECORD.
struct OsExceptionRecord {
    uint32_t ExceptionCode;
    uint32_t ExceptionFlags;
    OsExceptionRecord* ExceptionRecord;
    const void* ExceptionAddress;
    uint32_t NumberParameters;
    uintptr_t ExceptionInformation[15];
};

namespace status {
constexpr uint32_t kAccessViolation = 0xC0000005;
constexpr uint32_t kArrayBoundsExceeded = 0xC000008C;
constexpr uint32_t kFloatDenormalOperand = 0xC000008D;
constexpr uint32_t kFloatDivideByZero = 0xC000008E;
constexpr uint32_t kFloatInexactResult = 0xC000008F;
constexpr uint32_t kFloatInvalidOperation = 0xC0000090;
constexpr uint32_t kFloatOverflow = 0xC0000091;
constexpr uint32_t kFloatStackCheck = 0xC0000092;
constexpr uint32_t kFloatUnderflow = 0xC0000093;
constexpr uint32_t kIntegerDivideByZero = 0xC0000094;
constexpr uint32_t kIntegerOverflow = 0xC0000095;
constexpr uint32_t kPrivilegedInstruction = 0xC0000096;
constexpr uint32_t kStackOverflow = 0xC00000FD;
}  // namespace status

// The run-time error index of an exception code: 22 for every code without a mapping.
uint8_t OsCodeToIndex(uint32_t code);

// A new object for an operating-system exception, its OsRecord pointing at the record.
Exception* OsToException(const OsExceptionRecord* record);
// The access-violation object, given the file name of the module holding the exception address
// (null when the address lies in no module).
Exception* AccessViolationObject(const OsExceptionRecord* record, const char* module_file);

// Kind 25 "MESSAGE (FILE, line LINE)", raised from the caller address.
[[noreturn]] void AssertToException(const char* message, const char* file, int32_t line, const void* caller);

// "Exception CLASS in module PATH at OFFSET.\nMESSAGE" into the buffer; returns its length. A null
// object stands for one the module did not make. Fits a 1024-byte buffer.
std::size_t FailureText(const Exception* object, const void* address, char* buffer, std::size_t size);
void ShowFailure(const Exception* object, const void* address);
[[noreturn]] void ShowAndHalt(Exception* object, const void* address);

// ---- hooks --------------------------------------------------------------------------------------

using ClassRef = const char* (*)();  // a class, as the function that names it

struct RunTimeHooks {
    void (*ErrorProc)(uint8_t index, const void* error_address);  // ErrorToException
    Exception* (*ExceptObjProc)(const OsExceptionRecord* record);  // OsToException
    ClassRef (*ExceptClsProc)(const OsExceptionRecord* record);    // always the class Exception
    ClassRef ExceptionClass;                                       // the class Exception
    void (*ExceptProc)(Exception* object, const void* address);   // ShowAndHalt
    void (*AssertErrorProc)(const char* message, const char* file, int32_t line, const void* caller);
};
extern RunTimeHooks Hooks;

// The err unit's start-up and shut-down.
void InstallHooks();
void RemoveHooks();

// The run-time's report of a run-time error: through ErrorProc while it is installed; without it,
// "Runtime error N at ADDRESS" is shown and the module halts with the index as exit code.
[[noreturn]] void RunError(uint8_t index, const void* error_address);
// A failed assertion: through AssertErrorProc, else run-time error 21.
[[noreturn]] void Assert(const char* message, const char* file, int32_t line, const void* caller);

}  // namespace err
