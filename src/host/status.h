// Windows status codes of the faults the host reports, and the x87 flags behind them.
#pragma once

#include <cstdint>

#include "err/failure.h"

namespace host {

// The status code Windows reports for an x87 fault: the first unmasked flag in the order
// invalid (a stack fault when bit 6 is set), zero divide, denormal, overflow, underflow, precision.
inline uint32_t X87StatusCode(uint16_t status_word, uint16_t control_word) {
    uint16_t unmasked = status_word & ~control_word & 0x3F;
    if (unmasked & 0x01) return (status_word & 0x40) ? err::status::kFloatStackCheck : err::status::kFloatInvalidOperation;
    if (unmasked & 0x04) return err::status::kFloatDivideByZero;
    if (unmasked & 0x02) return err::status::kFloatDenormalOperand;
    if (unmasked & 0x08) return err::status::kFloatOverflow;
    if (unmasked & 0x10) return err::status::kFloatUnderflow;
    if (unmasked & 0x20) return err::status::kFloatInexactResult;
    return err::status::kFloatInvalidOperation;
}

inline const char* StatusText(uint32_t code) {
    switch (code) {
        case err::status::kAccessViolation: return "access violation";
        case err::status::kFloatDenormalOperand: return "floating-point denormal operand";
        case err::status::kFloatDivideByZero: return "floating-point division by zero";
        case err::status::kFloatInexactResult: return "floating-point inexact result";
        case err::status::kFloatInvalidOperation: return "floating-point invalid operation";
        case err::status::kFloatOverflow: return "floating-point overflow";
        case err::status::kFloatStackCheck: return "floating-point stack check";
        case err::status::kFloatUnderflow: return "floating-point underflow";
        case err::status::kIntegerDivideByZero: return "integer division by zero";
        case err::status::kIntegerOverflow: return "integer overflow";
        case err::status::kPrivilegedInstruction: return "privileged instruction";
        case err::status::kStackOverflow: return "stack overflow";
        default: return "exception";
    }
}

}  // namespace host
