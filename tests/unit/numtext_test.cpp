#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "numtext/format.h"
#include "numtext/parse.h"
#include "rodived/x87.h"
#include "support/fpu.h"

namespace {

uint64_t Bits(double d) {
    uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

// The documented values hold under 64-bit precision and rounding to nearest; every condition is
// masked so that overflow shows as its flag.
using UnderHostPrecision = testing_support::AllMaskedTest;

using TextToFloatTest = UnderHostPrecision;
using FloatToTextTest = UnderHostPrecision;

TEST_F(TextToFloatTest, ReadsWhatItRecognises) {
    const struct {
        double expected;
        const char* text;
    } cases[] = {
        {0, ""},
        {12.5, "12.5"},
        {-12.5, "-12.5"},
        {7, "+7"},
        {0.5, ".5"},
        {5, "5."},
        {1500, "1.5e3"},
        {100, "1E+2"},
        {-0.0015, "-1.5E-3"},
        {2000, "2e3x"},
        {100, "1e2.5"},
        {1, "1e"},
        {1, "1e 2"},
        {0, "e5"},
        {1.2, "1.2.3"},
        {15, "1,5"},
        {12, "1|2"},
        {10, "0x10"},
        {0, "abc"},
        {12, "a1b2"},
        {-0.0, "-"},
        {-0.0, "-0"},
        {-5, "--5"},
        {5, " -5"},
        {1000, "1 000"},
        {0.1, "0.1"},
        {0.30000000000000004, "0.3"},  // one unit above the float nearest 0.3
        {0.6000000000000001, "0.6"},
        {0.7000000000000001, "0.7"},
        {123.456, "123.456"},
        {6.019999999999999e23, "6.02e23"},
        {12345678901234569216.0, "12345678901234567890"},
        {0, "1e-400"},
        {7, "\x80\xFF" "7\x01"},
    };
    for (const auto& c : cases) EXPECT_EQ(Bits(c.expected), Bits(numtext::TextToFloat(c.text))) << '"' << c.text << '"';
}

TEST_F(TextToFloatTest, TinyValuesBecomeSubnormal) {
    double v = numtext::TextToFloat("1e-310");
    EXPECT_GT(v, 0.0);
    EXPECT_LT(v, 2.2250738585072014e-308);
}

TEST_F(TextToFloatTest, OverflowIsSignalledAndInfiniteWhereMasked) {
    // The power of ten overflows before it multiplies the zero digits.
    const std::string texts[] = {"1e400", std::string(310, '9'), "0e99999"};
    for (const std::string& text : texts) {
        x87::fnclex();
        double v = numtext::TextToFloat(text);
        EXPECT_TRUE(x87::fnstsw() & x87::cw::kMaskOverflow) << text;
        if (text[0] != '0') EXPECT_EQ(Bits(__builtin_inf()), Bits(v)) << text;
    }
}

TEST(TextToIntTest, WrapsAndStopsAtTheFirstNonDigit) {
    const struct {
        int32_t expected;
        const char* text;
    } cases[] = {
        {0, ""},          {42, "42"},
        {-42, "-42"},     {42, "+42"},
        {7, "007"},       {7, "7.9"},
        {12, "12abc"},    {1, "1e3"},
        {0, " 5"},        {5, "5 "},
        {0, "-"},         {0, "+-5"},
        {0, "--5"},       {0, "0x1F"},
        {0, "a1"},        {2147483647, "2147483647"},
        {INT32_MIN, "2147483648"}, {INT32_MIN, "-2147483648"},
        {-1, "4294967295"}, {0, "4294967296"},
        {1215752191, "99999999999"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, numtext::TextToInt(c.text)) << '"' << c.text << '"';
}

TEST_F(FloatToTextTest, FifteenDigitsNoExponent) {
    const struct {
        const char* expected;
        double value;
    } cases[] = {
        {"0", 0},
        {"0", -0.0},
        {"0.5", 0.5},
        {"-2.5", -2.5},
        {"12.5", 12.5},
        {"100", 100},
        {"0.333333333333333", 1.0 / 3},
        {"0.666666666666667", 2.0 / 3},
        {"0.142857142857143", 1.0 / 7},
        {"3.14159265358979", 3.141592653589793},
        {"2.71828182845905", 2.718281828459045},
        {"0.3", 0.30000000000000004},
        {"0.000123", 0.000123},
        {"0.0000001", 1e-7},
        {"0.00000000000000000001", 1e-20},
        {"100000000000000", 1e14},
        {"1000000000000000", 1e15},
        {"100000000000000000000", 1e20},
        {"1234567890123460", 1234567890123456},
        {"9007199254740990", 9007199254740992},
        {"123456789012346000", 123456789012345678.0},
        {"1000000000000000", 999999999999999.9},
        {"1", 0.9999999999999999},
        {"-2147483648", -2147483648.0},
        {"0", __builtin_nan("")},
        {"INF", __builtin_inf()},
        {"-INF", -__builtin_inf()},
    };
    for (const auto& c : cases) {
        char text[numtext::kFloatTextCapacity];
        std::size_t length = numtext::FloatToText(c.value, text);
        EXPECT_STREQ(c.expected, text) << c.value;
        EXPECT_EQ(std::strlen(text), length);
    }
}

TEST_F(FloatToTextTest, ExtremesAreWrittenOutInFull) {
    char text[numtext::kFloatTextCapacity];
    EXPECT_EQ(309u, numtext::FloatToText(1.7976931348623157e308, text));
    EXPECT_EQ("179769313486232" + std::string(294, '0'), text);
    EXPECT_EQ(340u, numtext::FloatToText(4.9406564584124654e-324, text));
    EXPECT_EQ("0." + std::string(323, '0') + "494065645841247", text);
    EXPECT_EQ(341u, numtext::FloatToText(-4.9406564584124654e-324, text));
}

TEST(IntToTextTest, SignAndDigits) {
    const struct {
        const char* expected;
        int32_t value;
    } cases[] = {{"0", 0}, {"7", 7}, {"-7", -7}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}};
    for (const auto& c : cases) {
        char text[numtext::kIntTextCapacity];
        numtext::IntToText(c.value, text);
        EXPECT_STREQ(c.expected, text);
    }
}

}  // namespace
