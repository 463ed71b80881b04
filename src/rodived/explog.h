// Exponential, logarithmic, power and rounding kernel.
//
// Everything computes in the x87 extended format under the caller's control word; arguments
// outside a routine's domain reach the unit and signal its conditions there (nothing here tests,
// masks or clears them).
#pragma once

#include <cstdint>

#include "rodived/x87.h"

namespace rodived {

using x87::Extended;

// |x| on a 64-bit float; -0 compares equal to 0 and stays -0. Callers holding an extended value
// pass it rounded to 64 bits (x87::StoreDouble).
double EAbs(double x);

// e^x as (2^f - 1 + 1) * 2^n with y = x*log2(e), n = y rounded under the rounding control in
// force, f = y - n.
Extended Exp(Extended x);

// x - trunc(x), exact, with the sign of x.
Extended Frac(Extended x);

// x truncated toward zero. Out of the 64-bit range: invalid operation, surfacing under the
// caller's control word, and the integer indefinite where masked.
int64_t Trunc(Extended x);

// ln(1 + x); precise for 0 <= x < 0.25 only (FYL2XP1), through the rounded sum 1 + x otherwise,
// so a tiny negative x gives exactly 0.
Extended LnXP1(Extended x);

Extended Log10(Extended x);
Extended Log2(Extended x);
// log2(x) / log2(base), x examined first.
Extended LogN(Extended base, Extended x);

// ln x as ln 2 * log2 x (FYL2X with FLDLN2); the natural logarithm of the whole kernel.
Extended Ln(Extended x);

// base^exponent: 1 for exponent 0, 0 for base 0 and exponent > 0, IntPower for an integral
// exponent of magnitude up to 2147483647, Exp(exponent * ln base) otherwise.
Extended Power(Extended base, Extended exponent);

// base^n by repeated squaring; for n < 0 the reciprocal of the base is powered.
Extended IntPower(Extended base, int32_t n);

// x = mantissa * 2^exponent with 0.5 <= |mantissa| < 1; 0 (either sign) gives itself and 0.
void Frexp(Extended x, Extended& mantissa, int32_t& exponent);

// x * 2^p, exact within the extended range.
Extended Ldexp(Extended x, int32_t p);

// Ceiling and floor from the low 32 bits of Trunc(x), wrapping modulo 2^32.
int32_t Ceil(Extended x);
int32_t Floor(Extended x);

}  // namespace rodived
