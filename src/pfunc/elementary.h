// Computations of the elementary exports that are not a kernel routine by themselves.
#pragma once

#include "pfunc/frame.h"
#include "rodived/explog.h"
#include "rodived/x87.h"

namespace pfunc::compute {

// The body of a stub export.
inline void Nothing() {}

inline Extended SquareRoot(Extended x) { return x87::fsqrt(x); }
inline Extended Square(Extended x) { return x * x; }
inline Extended AbsoluteValue(Extended x) { return rodived::EAbs(x87::StoreDouble(x)); }

// The exponent is written as a float result, like the mantissa.
inline Pair MantissaAndExponent(Extended x) {
    Extended mantissa;
    int32_t exponent;
    rodived::Frexp(x, mantissa, exponent);
    return {mantissa, static_cast<Extended>(exponent)};
}

}  // namespace pfunc::compute
