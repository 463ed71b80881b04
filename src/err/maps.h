// The maps from run-time errors and operating-system exceptions to exception objects, and the
// hooks through which the run-time support reaches them.
#pragma once

#include <cstdint>

#include "err/exception.h"

namespace err {

#pragma pack(push, 1)
// One entry of the run-time error map, indexed by the run-time error index 1 to 24.
struct TExceptMapRec {
    uint8_t Kind;
    const char* Message;
};
#pragma pack(pop)

// One entry of the input/output error map.
struct TErrorRec {
    uint32_t Code;
    const char* Message;
};

constexpr int kRunTimeErrorCount = 24;
extern const TExceptMapRec kExceptMap[kRunTimeErrorCount];  // [0] is index 1
constexpr int kIoErrorCount = 6;
extern const TErrorRec kIoErrorMap[kIoErrorCount];

// Run-time error indexes the module's own run-time support raises.
namespace runtime_error {
constexpr uint8_t kOutOfMemory = 1;
constexpr uint8_t kInvalidPointer = 2;
constexpr uint8_t kRangeCheck = 4;
constexpr uint8_t kAssertionFailed = 21;
}  // namespace runtime_error

// The pending input/output result code of the calling thread, taken (and reset to 0) by
// ErrorToException. The module itself does no file input/output.
void SetPendingIoResult(uint32_t code);
uint32_t PendingIoResult();

// Makes the object of a run-time error (index 1-24 from the map; above 24 an input/output failure)
// and raises it as a module exception from `error_address`.
[[noreturn]] void ErrorToException(uint8_t index, const void* error_address);

}  // namespace err
