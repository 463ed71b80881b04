#include "rodived/trig.h"

#include "rodived/explog.h"

namespace rodived {

namespace {
constexpr Extended kDegreesToRadians = x87::FromBits(0x3FF9, 0x8EFA351294E9C8AE);  // 0.017453292519943295769
constexpr Extended kRadiansToDegrees = x87::FromBits(0x4004, 0xE52EE0D31E0FBDC3);  // 57.295779513082320877
constexpr Extended kGradsToRadians = x87::FromBits(0x3FF9, 0x80ADFC90B938CE36);    // 0.015707963267948966192
// One unit in the last place below the extended value nearest 200/pi (...6112), kept as it is:
// the last bit of RadToGrad results depends on it.
constexpr Extended kRadiansToGrads = x87::FromBits(0x4004, 0xFEA5DD5C5A4A6111);  // 63.661977236758134305
constexpr Extended kOneCycle = x87::FromBits(0x4001, 0xC90FDAA22168C235);        // 6.283185307179586477

// Half the natural logarithm of the largest extended value is 5678.2617: up to this bound E*E in
// Tanh stays finite.
constexpr Extended kTanhBound = x87::FromBits(0x400B, 0xB171C7AB26A294B5);  // 5678.22249441322
// Finite in extended, far beyond the 64-bit range: an export rounding it overflows there.
constexpr Extended kArcTanhPole = x87::FromBits(0x7FFE, 0xECB12AED7F5875E1);  // 1.1e4932

constexpr Extended kLargeArgument = x87::FromBits(0x4020, 0x9502F90000000000);  // 1e10
static_assert(kLargeArgument == 10000000000.0L);

// FSINCOS and FPTAN reduce only arguments below 2^63 in magnitude.
constexpr Extended kReductionLimit = x87::FromBits(0x403E, 0x8000000000000000);  // 2^63
static_assert(kReductionLimit == 9223372036854775808.0L);

// Beyond the reduction limit the unit would leave x on the stack and set C2 without any
// condition; the explicit test signals invalid operation instead, under the caller's masks.
bool OutsideReduction(Extended x) { return x87::fabs(x) >= kReductionLimit; }

// ln 2 from 2.0 through the kernel's logarithm at each call (not FLDLN2 alone), then ln x.
Extended LargeArgumentLog(Extended x) {
    Extended ln2 = Ln(2.0L);
    return ln2 + Ln(x);
}
}  // namespace

Extended DegToRad(Extended x) { return x * kDegreesToRadians; }
Extended RadToDeg(Extended x) { return x * kRadiansToDegrees; }
Extended GradToRad(Extended x) { return x * kGradsToRadians; }
Extended RadToGrad(Extended x) { return x * kRadiansToGrads; }
Extended CycleToRad(Extended x) { return x * kOneCycle; }
Extended RadToCycle(Extended x) { return x / kOneCycle; }

void SinCos(Extended x, Extended& sine, Extended& cosine) {
    if (OutsideReduction(x)) {
        sine = cosine = x87::SignalInvalid();
        return;
    }
    x87::SineCosine r = x87::fsincos(x);
    sine = r.sine;
    cosine = r.cosine;
}

Extended Tan(Extended x) {
    if (OutsideReduction(x)) return x87::SignalInvalid();
    return x87::fptan(x).tangent;
}

Extended CoTan(Extended x) {
    if (OutsideReduction(x)) return x87::SignalInvalid();
    x87::PartialTangent r = x87::fptan(x);
    return r.one / r.tangent;
}

Extended ArcTan2(Extended y, Extended x) { return x87::fpatan(y, x); }

Extended ArcCos(Extended x) {
    Extended square = x * x;
    return ArcTan2(x87::fsqrt(1.0L - square), x);
}

Extended ArcSin(Extended x) {
    Extended square = x * x;
    return ArcTan2(x, x87::fsqrt(1.0L - square));
}

Extended Hypot(Extended x, Extended y) {
    Extended a = x87::fabs(x);
    Extended b = x87::fabs(y);
    Extended smaller = a;
    Extended larger = b;
    if (a > b) {
        smaller = b;
        larger = a;
    }
    if (smaller == 0) return larger;
    Extended q = smaller / larger;
    q = q * q;
    return larger * x87::fsqrt(1.0L + q);
}

Extended HalfExpSum(Extended x, double f) {
    Extended e = Exp(x) / 2.0L;
    Extended factor = f;
    return factor / e + e;
}

Extended Cosh(Extended x) { return HalfExpSum(x, 0.25); }

Extended Sinh(Extended x) { return HalfExpSum(x, -0.25); }

Extended Tanh(Extended x) {
    if (x > kTanhBound) return 1.0L;
    if (x < -kTanhBound) return -1.0L;
    Extended e = Exp(x);
    Extended e2 = e * e;
    return (e2 - 1.0L) / (e2 + 1.0L);
}

Extended ArcCosh(Extended x) {
    if (x <= 1.0L) return 0.0L;
    if (x > kLargeArgument) return LargeArgumentLog(x);
    Extended below = x - 1.0L;
    Extended above = x + 1.0L;
    return Ln(x + x87::fsqrt(below * above));
}

Extended ArcSinh(Extended x) {
    if (x == 0) return 0.0L;
    bool negative = x < 0;
    Extended a = EAbs(x87::StoreDouble(x));
    Extended r;
    if (a > kLargeArgument) {
        r = LargeArgumentLog(a);
    } else {
        Extended t = a * a;
        r = LnXP1(a + t / (x87::fsqrt(t + 1.0L) + 1.0L));
    }
    return negative ? -r : r;
}

Extended ArcTanh(Extended x) {
    if (x == 0) return 0.0L;
    bool negative = x < 0;
    Extended a = EAbs(x87::StoreDouble(x));
    Extended r;
    if (a >= 1.0L) {
        r = kArcTanhPole;
    } else {
        r = 0.5L * LnXP1(2.0L * a / (1.0L - a));
    }
    return negative ? -r : r;
}

}  // namespace rodived
