// Computations of the circular and hyperbolic exports.
//
// Every circular, inverse circular, hyperbolic and inverse hyperbolic export reads its argument as
// degrees, the inverse ones too (whose argument is no angle), and returns radians unconverted: so
// getArcCos(0) is pi/2, getArcCos(58) is out of the domain, and getArcTanh reaches its pole at
// 57.29577951308232, one radian.
#pragma once

#include "pfunc/frame.h"
#include "rodived/trig.h"

namespace pfunc::compute {

// F of the argument converted with DegToRad, in extended, right before the kernel call.
template <Extended (*F)(Extended)>
inline Extended AfterDegToRad(Extended x) {
    return F(rodived::DegToRad(x));
}

inline Extended Sine(Extended x) {
    Extended sine, cosine;
    rodived::SinCos(x, sine, cosine);
    return sine;
}

inline Extended Cosine(Extended x) {
    Extended sine, cosine;
    rodived::SinCos(x, sine, cosine);
    return cosine;
}

// Both coordinates in degrees, y converted first; the angle is that of the unconverted point up
// to rounding.
inline Extended ArcTan2AfterDegToRad(Extended y, Extended x) {
    Extended y_radians = rodived::DegToRad(y);
    Extended x_radians = rodived::DegToRad(x);
    return rodived::ArcTan2(y_radians, x_radians);
}

}  // namespace pfunc::compute
