// Windows status codes of the faults the host reports, and the x87 flags behind them.
#pragma once

#include <cstdint>

namespace host {

constexpr uint32_t kStatusAccessViolation = 0xC0000005;
constexpr uint32_t kStatusFloatDenormalOperand = 0xC000008D;
constexpr uint32_t kStatusFloatDivideByZero = 0xC000008E;
constexpr uint32_t kStatusFloatInexactResult = 0xC000008F;
constexpr uint32_t kStatusFloatInvalidOperation = 0xC0000090;
constexpr uint32_t kStatusFloatOverflow = 0xC0000091;
constexpr uint32_t kStatusFloatStackCheck = 0xC0000092;
constexpr uint32_t kStatusFloatUnderflow = 0xC0000093;
constexpr uint32_t kStatusIntegerDivideByZero = 0xC0000094;
constexpr uint32_t kStatusIntegerOverflow = 0xC0000095;
constexpr uint32_t kStatusPrivilegedInstruction = 0xC0000096;
constexpr uint32_t kStatusStackOverflow = 0xC00000FD;

// The status code Windows reports for an x87 fault: the first unmasked flag in the order
// invalid (a stack fault when bit 6 is set), zero divide, denormal, overflow, underflow, precision.
inline uint32_t X87StatusCode(uint16_t status_word, uint16_t control_word) {
    uint16_t unmasked = status_word & ~control_word & 0x3F;
    if (unmasked & 0x01) return (status_word & 0x40) ? kStatusFloatStackCheck : kStatusFloatInvalidOperation;
    if (unmasked & 0x04) return kStatusFloatDivideByZero;
    if (unmasked & 0x02) return kStatusFloatDenormalOperand;
    if (unmasked & 0x08) return kStatusFloatOverflow;
    if (unmasked & 0x10) return kStatusFloatUnderflow;
    if (unmasked & 0x20) return kStatusFloatInexactResult;
    return kStatusFloatInvalidOperation;
}

inline const char* StatusText(uint32_t code) {
    switch (code) {
        case kStatusAccessViolation: return "access violation";
        case kStatusFloatDenormalOperand: return "floating-point denormal operand";
        case kStatusFloatDivideByZero: return "floating-point division by zero";
        case kStatusFloatInexactResult: return "floating-point inexact result";
        case kStatusFloatInvalidOperation: return "floating-point invalid operation";
        case kStatusFloatOverflow: return "floating-point overflow";
        case kStatusFloatStackCheck: return "floating-point stack check";
        case kStatusFloatUnderflow: return "floating-point underflow";
        case kStatusIntegerDivideByZero: return "integer division by zero";
        case kStatusIntegerOverflow: return "integer overflow";
        case kStatusPrivilegedInstruction: return "privileged instruction";
        case kStatusStackOverflow: return "stack overflow";
        default: return "exception";
    }
}

}  // namespace host
