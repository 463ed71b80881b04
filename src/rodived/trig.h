// Angles, circular and hyperbolic kernel.
//
// Everything computes in the x87 extended format under the caller's control word. No routine
// checks its arguments beyond the saturations noted below: an argument outside a routine's domain
// reaches the unit and signals its condition there (masked, the unit's default value stands in).
#pragma once

#include "rodived/x87.h"

namespace rodived {

using x87::Extended;

// Angle conversions: one rounded extended operation each, no reduction to one turn
// (DegToRad(720) is 4 pi, not 0). DegToRad(180) is exactly the extended value nearest pi.
Extended DegToRad(Extended x);
Extended RadToDeg(Extended x);
Extended GradToRad(Extended x);
Extended RadToGrad(Extended x);
Extended CycleToRad(Extended x);
// A division by the cycle constant, so RadToCycle(CycleToRad(1)) is exactly 1.
Extended RadToCycle(Extended x);

// Sine and cosine from one FSINCOS. |x| >= 2^63 (infinities included) signals the
// invalid-operation condition and yields NaN for both where it is masked.
void SinCos(Extended x, Extended& sine, Extended& cosine);

// Tangent from FPTAN; same argument limit as SinCos. Tan(DegToRad(90)) is about -4e19, finite.
Extended Tan(Extended x);
// 1 / tan x, one rounded division by the FPTAN tangent. CoTan(0) signals division by zero.
Extended CoTan(Extended x);

// Angle of the point (x, y), -pi to pi, by FPATAN: signed zeros give +-0 or +-pi, no fault.
Extended ArcTan2(Extended y, Extended x);
// ArcTan2(sqrt(1 - x*x), x) and ArcTan2(x, sqrt(1 - x*x)); |x| > 1 signals invalid operation
// in the square root.
Extended ArcCos(Extended x);
Extended ArcSin(Extended x);

// sqrt(x^2 + y^2) as L * sqrt(1 + (S/L)^2), S and L the smaller and larger magnitude;
// L itself when S is 0. Hypot(3, 4) is exactly 5.
Extended Hypot(Extended x, Extended y);

// E + f/E with E = Exp(x) / 2. No small-argument branch.
Extended HalfExpSum(Extended x, double f);
Extended Cosh(Extended x);  // HalfExpSum(x, 0.25)
Extended Sinh(Extended x);  // HalfExpSum(x, -0.25)
// (E^2 - 1) / (E^2 + 1) with E = Exp(x); exactly +-1 beyond +-5678.22249441322.
Extended Tanh(Extended x);

// 0 for every x <= 1 (no fault); ln 2 + ln x above 1e10; ln(x + sqrt((x-1)(x+1))) otherwise.
Extended ArcCosh(Extended x);
// +0 for +-0. The magnitude is rounded to a 64-bit float first (EAbs); above 1e10 the result is
// ln 2 + ln |x|, otherwise LnXP1(a + a^2 / (sqrt(a^2 + 1) + 1)); the sign of x is put back.
Extended ArcSinh(Extended x);
// +0 for +-0. The magnitude is rounded to a 64-bit float first (EAbs); from 1 on the result is
// the finite pole value 1.1e4932 with the sign of x, signalling nothing; otherwise
// 0.5 * LnXP1(2a / (1 - a)).
Extended ArcTanh(Extended x);

}  // namespace rodived
