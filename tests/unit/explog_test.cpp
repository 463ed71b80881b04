#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "rodived/explog.h"
#include "rodived/x87.h"
#include "support/fpu.h"

namespace {

using rodived::Extended;

// Every case runs with all conditions masked, so a domain error shows as its default value and
// its flag instead of a fault.
using ExpLogTest = testing_support::AllMaskedTest;
using testing_support::FlagsRaisedBy;
using testing_support::SameBits;

constexpr uint16_t kInvalid = 0x01, kZeroDivide = 0x04, kOverflow = 0x08;

TEST_F(ExpLogTest, ExactValues) {
    const struct {
        Extended expected;
        Extended actual;
        const char* what;
    } cases[] = {
        {1, rodived::Exp(0), "Exp(0)"},
        {0, rodived::LnXP1(0), "LnXP1(0)"},
        {0, rodived::LnXP1(-1e-20L), "LnXP1(-1e-20): 1 - 1e-20 rounds to 1"},
        {3, x87::RoundToDouble(rodived::Log10(1000)), "Log10(1000)"},
        {3, x87::RoundToDouble(rodived::Log2(8)), "Log2(8)"},
        {3, x87::RoundToDouble(rodived::LogN(2, 8)), "LogN(2, 8)"},
        {0, rodived::LogN(2, 1), "LogN(2, 1)"},
        {1, rodived::Power(0, 0), "Power(0, 0)"},
        {0, rodived::Power(0, 2), "Power(0, 2)"},
        {0, rodived::Power(0, 0.5), "Power(0, 0.5)"},
        {-8, rodived::Power(-2, 3), "Power(-2, 3)"},
        {0.25, rodived::Power(-2, -2), "Power(-2, -2)"},
        {1024, rodived::Power(2, 10), "Power(2, 10)"},
        {3, rodived::Ldexp(0.75, 2), "Ldexp(0.75, 2)"},
        {0.5, rodived::Ldexp(1, -1), "Ldexp(1, -1)"},
        {2.5, rodived::EAbs(-2.5), "EAbs(-2.5)"},
        {0.5, rodived::Frac(2.5), "Frac(2.5)"},
        {-0.5, rodived::Frac(-2.5), "Frac(-2.5)"},
    };
    for (const auto& c : cases) EXPECT_TRUE(SameBits(c.expected, c.actual)) << c.what;
}

TEST_F(ExpLogTest, NegativeZeroSurvives) {
    EXPECT_TRUE(std::signbit(rodived::EAbs(-0.0)));
    Extended mantissa;
    int32_t exponent = 99;
    rodived::Frexp(-0.0L, mantissa, exponent);
    EXPECT_TRUE(SameBits(-0.0L, mantissa));
    EXPECT_EQ(0, exponent);
}

TEST_F(ExpLogTest, LnXP1KeepsTinyPositiveArguments) {
    Extended tiny = 1e-20L;
    Extended r = rodived::LnXP1(tiny);
    EXPECT_NEAR(1.0L, r / tiny, 1e-18L);
}

TEST_F(ExpLogTest, IntPowerTakesTheReciprocalFirst) {
    Extended tenth = 1.0L / 10;
    EXPECT_TRUE(SameBits(tenth * tenth, rodived::IntPower(10, -2)));
    EXPECT_TRUE(SameBits(1, rodived::IntPower(0, 0)));
    EXPECT_TRUE(SameBits(1, rodived::IntPower(__builtin_nanl(""), 0)));
}

TEST_F(ExpLogTest, PowerOfAFractionalExponentGoesThroughTheLogarithm) {
    Extended expected = rodived::Exp(0.5L * rodived::Ln(2));
    EXPECT_TRUE(SameBits(expected, rodived::Power(2, 0.5)));
}

TEST_F(ExpLogTest, FrexpSplitsExactly) {
    const struct {
        Extended x;
        Extended mantissa;
        int32_t exponent;
    } cases[] = {{8, 0.5, 4}, {-3, -0.75, 2}, {0, 0, 0}, {1, 0.5, 1}, {0.1L, 0.8L, -3}};
    for (const auto& c : cases) {
        Extended mantissa;
        int32_t exponent;
        rodived::Frexp(c.x, mantissa, exponent);
        EXPECT_TRUE(SameBits(c.mantissa, mantissa)) << static_cast<double>(c.x);
        EXPECT_EQ(c.exponent, exponent) << static_cast<double>(c.x);
    }
}

TEST_F(ExpLogTest, CeilAndFloorWrapToThirtyTwoBits) {
    const struct {
        int32_t ceil, floor;
        Extended x;
    } cases[] = {
        {3, 2, 2.5},           {-2, -3, -2.5},          {0, -1, -0.5},
        {4, 4, 4},             {-1294967296, -1294967296, 3000000000.0L},
        {INT32_MIN, 2147483647, 2147483647.5L},  {INT32_MIN, 2147483647, -2147483648.5L},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.ceil, rodived::Ceil(c.x)) << static_cast<double>(c.x);
        EXPECT_EQ(c.floor, rodived::Floor(c.x)) << static_cast<double>(c.x);
    }
}

TEST_F(ExpLogTest, DomainErrorsSignalTheirConditions) {
    const struct {
        uint16_t expected;
        Extended (*f)();
        const char* what;
    } cases[] = {
        {kZeroDivide, [] { return rodived::LnXP1(-1); }, "LnXP1(-1)"},
        {kInvalid, [] { return rodived::LnXP1(-2); }, "LnXP1(-2)"},
        {kZeroDivide, [] { return rodived::Log10(0); }, "Log10(0)"},
        {kInvalid, [] { return rodived::Log2(-1); }, "Log2(-1)"},
        {kZeroDivide, [] { return rodived::LogN(1, 8); }, "LogN(1, 8)"},
        {kInvalid, [] { return rodived::LogN(1, 1); }, "LogN(1, 1)"},
        {kZeroDivide, [] { return rodived::Power(0, -1); }, "Power(0, -1)"},
        {kInvalid, [] { return rodived::Power(-8, 0.5); }, "Power(-8, 0.5)"},
        {kInvalid, [] { return rodived::Power(-1, 1e10); }, "Power(-1, 1e10)"},
        {kOverflow, [] { return rodived::Ldexp(1, 20000); }, "Ldexp(1, 20000)"},
        {kOverflow, [] { return rodived::Exp(11357); }, "Exp(11357)"},
        {kInvalid, [] { return static_cast<Extended>(rodived::Ceil(1e19L)); }, "Ceil(1e19)"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, FlagsRaisedBy(c.f) & (kInvalid | kZeroDivide | kOverflow)) << c.what;
}

TEST_F(ExpLogTest, TruncAndFracRestoreTheCallersWordOnEveryPath) {
    const uint16_t words[] = {0x137F, 0x027F, 0x1F7F /* toward zero */, 0x177F /* upward */};
    for (uint16_t word : words) {
        x87::fldcw(word);
        EXPECT_EQ(3, rodived::Trunc(3.99L));
        EXPECT_EQ(-3, rodived::Trunc(-3.99L));
        EXPECT_TRUE(SameBits(0.75L, rodived::Frac(2.75L)));
        EXPECT_EQ(INT64_MIN, rodived::Trunc(1e19L));  // the integer indefinite, invalid masked
        EXPECT_EQ(word | 0x40, x87::fnstcw() | 0x40);
    }
}

TEST_F(ExpLogTest, ExpFollowsTheRoundingControl) {
    // e^x is built on n = y rounded under the control word; the result stays close either way.
    x87::fldcw(0x177F);  // round upward
    Extended up = rodived::Exp(1);
    x87::fldcw(0x137F);
    EXPECT_NEAR(static_cast<double>(up), 2.718281828459045, 1e-15);
}

}  // namespace
