#include "rodived/trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>

#include "rodived/explog.h"
#include "support/fpu.h"

namespace {

using rodived::Extended;
using x87::FromBits;

constexpr Extended kPi = FromBits(0x4000, 0xC90FDAA22168C235);
constexpr Extended kHalfPi = FromBits(0x3FFF, 0xC90FDAA22168C235);
constexpr Extended kQuarterPi = FromBits(0x3FFE, 0xC90FDAA22168C235);
constexpr Extended kOneCycle = FromBits(0x4001, 0xC90FDAA22168C235);
constexpr Extended kPole = FromBits(0x7FFE, 0xECB12AED7F5875E1);
constexpr Extended kTwoTo63 = FromBits(0x403E, 0x8000000000000000);
constexpr Extended kBelowTwoTo63 = FromBits(0x403D, 0xFFFFFFFFFFFFFFFF);
constexpr Extended kInfinity = FromBits(0x7FFF, 0x8000000000000000);

using testing_support::kAllMasked;
constexpr uint16_t kFlags = x87::cw::kMaskAll;
constexpr uint16_t kInvalid = x87::cw::kMaskInvalid;
constexpr uint16_t kZeroDivide = x87::cw::kMaskZeroDivide;
constexpr uint16_t kOverflow = x87::cw::kMaskOverflow;
constexpr uint16_t kPrecision = x87::cw::kMaskPrecision;
constexpr uint16_t kUnderflow = x87::cw::kMaskUnderflow;

uint16_t FlagsRaisedBy(const std::function<void()>& f) { return testing_support::FlagsRaisedBy(f); }

void ExpectBits(Extended expected, Extended actual) {
    EXPECT_EQ(x87::SignExponentOf(expected), x87::SignExponentOf(actual)) << static_cast<double>(actual);
    EXPECT_EQ(x87::SignificandOf(expected), x87::SignificandOf(actual)) << static_cast<double>(actual);
}

Extended Sine(Extended x) {
    Extended s, c;
    rodived::SinCos(x, s, c);
    return s;
}
Extended Cosine(Extended x) {
    Extended s, c;
    rodived::SinCos(x, s, c);
    return c;
}

TEST(TrigTest, AngleConversionBits) {
    struct Case {
        Extended expected;
        Extended (*f)(Extended);
        Extended x;
    } cases[] = {
        {kPi, rodived::DegToRad, 180},
        {kHalfPi, rodived::DegToRad, 90},
        {FromBits(0x4002, 0xC90FDAA22168C235), rodived::DegToRad, 720},  // no reduction to one turn
        {FromBits(0x3FF9, 0x8EFA351294E9C8AE), rodived::DegToRad, 1},
        {FromBits(0x4004, 0xE52EE0D31E0FBDC3), rodived::RadToDeg, 1},
        {FromBits(0x3FF9, 0x80ADFC90B938CE36), rodived::GradToRad, 1},
        {FromBits(0x4004, 0xFEA5DD5C5A4A6111), rodived::RadToGrad, 1},  // one unit below nearest 200/pi
        {kOneCycle, rodived::CycleToRad, 1},
        {1, rodived::RadToCycle, kOneCycle},
        {-2, rodived::RadToCycle, -2 * kOneCycle},
    };
    for (const Case& c : cases) ExpectBits(c.expected, c.f(c.x));
    EXPECT_EQ(3.141592653589793, x87::StoreDouble(rodived::DegToRad(180)));
    EXPECT_EQ(1.5707963267948966, x87::StoreDouble(rodived::DegToRad(90)));
}

// Suite TrigFullPrecisionTest needs FSINCOS and FPTAN to full extended precision (not so on
// emulators that compute them in double).
TEST(TrigFullPrecisionTest, CircularValues) {
    struct Case {
        double expected;
        Extended (*f)(Extended);
        Extended degrees;
    } cases[] = {
        {0.5, Sine, 30},
        {0.5, Cosine, 60},
        {1, rodived::Tan, 45},
        {1, rodived::CoTan, 45},
        {0, Sine, 0},
        {1, Cosine, 0},
        {-1, Cosine, 180},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, x87::StoreDouble(c.f(rodived::DegToRad(c.degrees)))) << static_cast<double>(c.degrees);
    }
}

TEST(TrigFullPrecisionTest, NearPoleAndZeroOfTheExtendedPi) {
    // 180 degrees are the extended value nearest pi, a little above pi: the sine is tiny and
    // negative, the tangent of half of it large, negative and finite.
    Extended sine = Sine(rodived::DegToRad(180));
    EXPECT_LT(sine, -4e-20L);
    EXPECT_GT(sine, -6e-20L);
    Extended tangent = rodived::Tan(rodived::DegToRad(90));
    EXPECT_LT(tangent, -3e19L);
    EXPECT_GT(tangent, -5e19L);
}

TEST(TrigTest, ReductionLimitSignalsInvalid) {
    struct Case {
        uint16_t expected_flags;
        Extended (*f)(Extended);
        Extended x;
    } cases[] = {
        {kInvalid, Sine, kTwoTo63},        {kInvalid, Cosine, -kTwoTo63},
        {kInvalid, rodived::Tan, kTwoTo63}, {kInvalid, rodived::CoTan, -kTwoTo63},
        {kInvalid, Sine, kInfinity},       {kInvalid, rodived::Tan, 1e4000L},
        {kInvalid, Sine, rodived::DegToRad(1e21L)},
    };
    for (const Case& c : cases) {
        Extended result = 0;
        uint16_t flags = FlagsRaisedBy([&] { result = c.f(c.x); });
        EXPECT_EQ(c.expected_flags, flags & ~kPrecision) << static_cast<double>(c.x);
        EXPECT_TRUE(std::isnan(result)) << static_cast<double>(c.x);
    }
    // The largest argument below the limit is still reduced.
    Extended sine = 0;
    EXPECT_EQ(0, FlagsRaisedBy([&] { sine = Sine(kBelowTwoTo63); }) & kInvalid);
    EXPECT_FALSE(std::isnan(sine));
}

TEST(TrigTest, CoTanOfZeroDividesByZero) {
    Extended result = 0;
    EXPECT_EQ(kZeroDivide, FlagsRaisedBy([&] { result = rodived::CoTan(0); }));
    EXPECT_EQ(kInfinity, result);
}

TEST(TrigTest, ArcTan2QuadrantsAndSignedZeros) {
    struct Case {
        Extended expected;
        Extended y, x;
    } cases[] = {
        {kQuarterPi, 1, 1},
        {x87::fpatan(1, -1), 1, -1},  // 3 pi / 4 as FPATAN rounds it
        {-x87::fpatan(1, -1), -1, -1},
        {-kQuarterPi, -1, 1},
        {kHalfPi, 1, 0},
        {-kHalfPi, -1, 0},
        {0.0L, 0.0L, 0.0L},
        {-0.0L, -0.0L, 0.0L},
        {kPi, 0.0L, -0.0L},
        {-kPi, -0.0L, -0.0L},
        {kPi, 0.0L, -5},
    };
    for (const Case& c : cases) {
        Extended result = 0;
        EXPECT_EQ(0, FlagsRaisedBy([&] { result = rodived::ArcTan2(c.y, c.x); }) & ~kPrecision);
        ExpectBits(c.expected, result);
    }
    EXPECT_EQ(2.356194490192345, x87::StoreDouble(rodived::ArcTan2(1, -1)));
}

TEST(TrigTest, ArcCosArcSin) {
    struct Case {
        Extended expected;
        Extended (*f)(Extended);
        Extended x;
    } cases[] = {
        {0.0L, rodived::ArcCos, 1}, {kPi, rodived::ArcCos, -1},     {kHalfPi, rodived::ArcCos, 0},
        {kHalfPi, rodived::ArcSin, 1}, {-kHalfPi, rodived::ArcSin, -1}, {0.0L, rodived::ArcSin, 0},
    };
    for (const Case& c : cases) ExpectBits(c.expected, c.f(c.x));
    EXPECT_NEAR(0.55106958309944, static_cast<double>(rodived::ArcSin(rodived::DegToRad(30))), 1e-13);

    for (auto f : {rodived::ArcCos, rodived::ArcSin}) {
        for (Extended x : {1.0000001L, -1.0000001L, rodived::DegToRad(58)}) {
            Extended result = 0;
            EXPECT_EQ(kInvalid, FlagsRaisedBy([&] { result = f(x); }) & ~kPrecision);
            EXPECT_TRUE(std::isnan(result));
        }
    }
}

TEST(TrigTest, Hypot) {
    struct Case {
        Extended expected;
        Extended x, y;
    } cases[] = {
        {5, 3, 4}, {5, -4, 3}, {7, 0, -7}, {7, -7, 0}, {0, 0, 0}, {0, -0.0L, 0},
        {x87::fsqrt(2) * 2, 2, -2},  // equal magnitudes: L * sqrt(1 + 1)
        {1e4000L, 1e4000L, 1e-4000L},
    };
    for (const Case& c : cases) {
        Extended result = 0;
        EXPECT_EQ(0, FlagsRaisedBy([&] { result = rodived::Hypot(c.x, c.y); }) & ~(kPrecision | kUnderflow));
        ExpectBits(c.expected, result);
    }
}

TEST(TrigTest, Hyperbolic) {
    struct Case {
        Extended expected;
        Extended (*f)(Extended);
        Extended x;
    } cases[] = {
        {1, rodived::Cosh, 0},     {0, rodived::Sinh, 0},       {0, rodived::Tanh, 0},
        {1, rodived::Tanh, 6000},  {-1, rodived::Tanh, -6000},  {1, rodived::Tanh, 5678.2225L},
        {0, rodived::ArcCosh, 1},  {0, rodived::ArcCosh, 0.5},  {0, rodived::ArcCosh, -1e300L},
        {0, rodived::ArcSinh, 0},  {0, rodived::ArcSinh, -0.0L},
        {0, rodived::ArcTanh, 0},  {0, rodived::ArcTanh, -0.0L},
    };
    for (const Case& c : cases) ExpectBits(c.expected, c.f(c.x));
    EXPECT_DOUBLE_EQ(1.5430806348152437, static_cast<double>(rodived::Cosh(1)));
    EXPECT_DOUBLE_EQ(1.1752011936438014, static_cast<double>(rodived::Sinh(1)));
    EXPECT_DOUBLE_EQ(0.7615941559557649, static_cast<double>(rodived::Tanh(1)));
    EXPECT_DOUBLE_EQ(-0.7615941559557649, static_cast<double>(rodived::Tanh(-1)));
    EXPECT_DOUBLE_EQ(1.3169578969248166, static_cast<double>(rodived::ArcCosh(2)));
    EXPECT_DOUBLE_EQ(0.881373587019543, static_cast<double>(rodived::ArcSinh(1)));
    ExpectBits(-rodived::ArcSinh(1), rodived::ArcSinh(-1));
    EXPECT_DOUBLE_EQ(0.5493061443340549, static_cast<double>(rodived::ArcTanh(0.5)));
}

TEST(TrigTest, LargeArgumentBranchOfInverseHyperbolics) {
    Extended expected = rodived::Ln(2) + rodived::Ln(1e11L);
    ExpectBits(expected, rodived::ArcCosh(1e11L));
    ExpectBits(expected, rodived::ArcSinh(1e11L));
    ExpectBits(-expected, rodived::ArcSinh(-1e11L));
}

TEST(TrigTest, InverseHyperbolicsRoundTheMagnitudeTo64Bits) {
    // Just below 1 in extended, 1 as a 64-bit float: the pole.
    constexpr Extended kBelowOne = FromBits(0x3FFE, 0xFFFFFFFFFFFFFFFF);
    ExpectBits(kPole, rodived::ArcTanh(kBelowOne));
    constexpr Extended kNotADouble = FromBits(0x3FFE, 0x8000000000000001);  // 0.5 + 2^-64
    ExpectBits(rodived::ArcSinh(0.5), rodived::ArcSinh(kNotADouble));
    ExpectBits(rodived::ArcTanh(0.5), rodived::ArcTanh(kNotADouble));
}

TEST(TrigTest, ArcTanhPoleWithoutFault) {
    struct Case {
        Extended expected;
        Extended x;
    } cases[] = {
        {kPole, 1}, {-kPole, -1}, {-kPole, -2}, {kPole, 1e300L}, {kPole, rodived::DegToRad(57.29577951308232)},
    };
    for (const Case& c : cases) {
        Extended result = 0;
        EXPECT_EQ(0, FlagsRaisedBy([&] { result = rodived::ArcTanh(c.x); }) & ~kPrecision);
        ExpectBits(c.expected, result);
    }
    // One 64-bit step below one radian: finite, about 18.71.
    Extended finite = rodived::ArcTanh(rodived::DegToRad(57.295779513082316));
    EXPECT_NEAR(18.71, static_cast<double>(finite), 0.01);
}

TEST(TrigTest, HyperbolicOverflow) {
    for (auto f : {rodived::Cosh, rodived::Sinh}) {
        Extended result = 0;
        EXPECT_EQ(kOverflow, FlagsRaisedBy([&] { result = f(11357); }) & kOverflow);
        EXPECT_EQ(kInfinity, result);
    }
}

}  // namespace
