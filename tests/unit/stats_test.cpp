#include "rodived/stats.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "err/exception.h"
#include "funcplug/host_abi.h"
#include "support/fpu.h"

namespace rodived::testing {
void ResetRandomState();  // defined in stats.cpp, reached only from here
}

namespace {

using rodived::Extended;
using List = std::vector<double>;
using IntList = std::vector<int32_t>;

using testing_support::kAllMasked;
constexpr uint16_t kInvalidFlag = 0x0001;

int32_t High(const List& x) { return static_cast<int32_t>(x.size()) - 1; }
int32_t High(const IntList& x) { return static_cast<int32_t>(x.size()) - 1; }

// Same extended bit pattern (tells -0 from +0).
::testing::AssertionResult SameBits(Extended expected, Extended actual) {
    if (x87::SignExponentOf(expected) == x87::SignExponentOf(actual) &&
        x87::SignificandOf(expected) == x87::SignificandOf(actual))
        return ::testing::AssertionSuccess();
    char text[160];
    std::snprintf(text, sizeof text, "expected %04X:%016llX (%.21Lg), got %04X:%016llX (%.21Lg)",
                  x87::SignExponentOf(expected), static_cast<unsigned long long>(x87::SignificandOf(expected)),
                  expected, x87::SignExponentOf(actual), static_cast<unsigned long long>(x87::SignificandOf(actual)),
                  actual);
    return ::testing::AssertionFailure() << text;
}

bool IsNaN(Extended x) { return (x87::SignExponentOf(x) & 0x7FFF) == 0x7FFF && (x87::SignificandOf(x) << 1) != 0; }

// Whether f flags invalid operation with every condition masked.
template <typename F>
bool FlagsInvalid(F f) {
    return (testing_support::FlagsRaisedBy(f) & kInvalidFlag) != 0;
}

// The exception object a module raise carries, or null when f returns.
template <typename F>
std::unique_ptr<err::Exception> Raised(F f) {
    try {
        f();
    } catch (const funcplug::ModuleRaise& raise) {
        EXPECT_EQ(raise.code, funcplug::kModuleExceptionCode);
        return std::unique_ptr<err::Exception>(
            reinterpret_cast<err::Exception*>(raise.parameters[funcplug::kExceptionObjectParameter]));
    }
    return nullptr;
}

// 15 significant digits of the value rounded to a 64-bit float.
std::string Digits15(Extended x) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", x87::StoreDouble(x));
    return text;
}

using FloatListRoutine = Extended (*)(const double*, int32_t);

// ---- values that hold only with the exact order of operations ---------------------------------

struct FloatCase {
    Extended expected;
    const char* routine;
    FloatListRoutine f;
    List x;
};

void PrintTo(const FloatCase& c, std::ostream* out) { *out << c.routine << " of " << c.x.size() << " values"; }

const double kPoint3 = 0.3;  // the double nearest 0.3

class FloatListValues : public ::testing::TestWithParam<FloatCase> {};

TEST_P(FloatListValues, ExactBits) {
    const FloatCase& c = GetParam();
    EXPECT_TRUE(SameBits(c.expected, c.f(c.x.data(), High(c.x)))) << c.routine;
}

INSTANTIATE_TEST_SUITE_P(
    Stats, FloatListValues,
    ::testing::Values(
        FloatCase{10.0L, "Sum", rodived::Sum, {1, 2, 3, 4}},
        FloatCase{2.5L, "Mean", rodived::Mean, {1, 2, 3, 4}},
        FloatCase{30.0L, "SumOfSquares", rodived::SumOfSquares, {1, 2, 3, 4}},
        FloatCase{5.0L, "TotalVariance", rodived::TotalVariance, {1, 2, 3, 4}},
        FloatCase{5.0L / 3.0L, "Variance", rodived::Variance, {1, 2, 3, 4}},
        FloatCase{1.25L, "PopnVariance", rodived::PopnVariance, {1, 2, 3, 4}},
        FloatCase{x87::fsqrt(5.0L / 3.0L), "StdDev", rodived::StdDev, {1, 2, 3, 4}},
        FloatCase{x87::fsqrt(1.25L), "PopnStdDev", rodived::PopnStdDev, {1, 2, 3, 4}},
        FloatCase{x87::fsqrt(30.0L), "Norm", rodived::Norm, {1, 2, 3, 4}},
        FloatCase{-0x1p-65L, "TotalVariance", rodived::TotalVariance, {kPoint3, kPoint3, kPoint3, kPoint3, kPoint3}},
        FloatCase{-0x1p-67L, "Variance", rodived::Variance, {kPoint3, kPoint3, kPoint3, kPoint3, kPoint3}},
        // one value
        FloatCase{-2.5L, "Sum", rodived::Sum, {-2.5}},
        FloatCase{-2.5L, "Mean", rodived::Mean, {-2.5}},
        FloatCase{-2.5L, "EMax", rodived::EMax, {-2.5}},
        FloatCase{-2.5L, "MinValue", rodived::MinValue, {-2.5}},
        FloatCase{static_cast<Extended>(kPoint3) * kPoint3, "SumOfSquares", rodived::SumOfSquares, {kPoint3}},
        FloatCase{2.5L, "Norm", rodived::Norm, {-2.5}},
        FloatCase{0.0L, "TotalVariance", rodived::TotalVariance, {kPoint3}},
        FloatCase{0.0L, "PopnVariance", rodived::PopnVariance, {kPoint3}},
        FloatCase{0.0L, "PopnStdDev", rodived::PopnStdDev, {kPoint3}},
        // empty list
        FloatCase{0.0L, "SumOfSquares", rodived::SumOfSquares, {}},
        FloatCase{0.0L, "Norm", rodived::Norm, {}},
        // the earlier of equal extremes wins
        FloatCase{-0.0L, "MaxValue", rodived::MaxValue, {-0.0, 0.0}},
        FloatCase{0.0L, "MaxValue", rodived::MaxValue, {0.0, -0.0}},
        FloatCase{-0.0L, "EMax", rodived::EMax, {-0.0, 0.0}},
        FloatCase{-0.0L, "MinValue", rodived::MinValue, {-0.0, 0.0}},
        FloatCase{0.0L, "EMin", rodived::EMin, {0.0, -0.0}},
        FloatCase{9.0L, "EMax", rodived::EMax, {3, -1, 9, 2, 9}},
        FloatCase{-1.0L, "EMin", rodived::EMin, {3, -1, 9, 2, -1}}),
    [](const ::testing::TestParamInfo<FloatCase>& info) {
        return std::string(info.param.routine) + "_" + std::to_string(info.index);
    });

TEST(Stats, InvalidOperationWhereTheVarianceIsZeroOverZeroOrNegative) {
    const List one = {5.0};
    const List point3s = {kPoint3, kPoint3, kPoint3, kPoint3, kPoint3};
    struct Case {
        const char* routine;
        FloatListRoutine f;
        const List* x;
    };
    for (const Case& c : {Case{"Variance", rodived::Variance, &one}, Case{"StdDev", rodived::StdDev, &one},
                          Case{"StdDev", rodived::StdDev, &point3s}, Case{"PopnStdDev", rodived::PopnStdDev, &point3s}}) {
        Extended r = 0;
        EXPECT_TRUE(FlagsInvalid([&] { r = c.f(c.x->data(), High(*c.x)); })) << c.routine;
        EXPECT_TRUE(IsNaN(r)) << c.routine;
    }
}

TEST(Stats, IntegerExtremes) {
    struct Case {
        int32_t expected;
        const char* routine;
        int32_t (*f)(const int32_t*, int32_t);
        IntList x;
    };
    const Case cases[] = {
        {-5, "iMax", rodived::iMax, {-5, -7}},
        {-7, "iMin", rodived::iMin, {-5, -7}},
        {std::numeric_limits<int32_t>::min(), "iMin", rodived::iMin, {2147483647, std::numeric_limits<int32_t>::min()}},
        {7, "MaxIntValue", rodived::MaxIntValue, {7, -3, 7}},
        {-3, "MinIntValue", rodived::MinIntValue, {7, -3, 7}},
        {42, "MaxIntValue", rodived::MaxIntValue, {42}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, c.f(c.x.data(), High(c.x))) << c.routine;
    EXPECT_EQ(3, rodived::Max(3, -7));
    EXPECT_EQ(-7, rodived::Min(3, -7));
    EXPECT_EQ(3, rodived::Max(-7, 3));
    EXPECT_EQ(-7, rodived::Min(-7, 3));
}

// ---- Sum: four partial sums ---------------------------------------------------------------------

// The partial-sum pattern in its plain form: from the last element down, add to L0, then L0
// changes places with L2, L1, L2, L3 for i mod 4 = 0, 1, 2, 3.
Extended PartialSumPattern(const List& x) {
    Extended l[4] = {0.0L, 0.0L, 0.0L, 0.0L};
    const int partner[4] = {2, 1, 2, 3};
    for (int i = High(x); i >= 0; --i) {
        l[0] = l[0] + x[i];
        std::swap(l[0], l[partner[i % 4]]);
    }
    return (l[3] + l[0]) + (l[2] + l[1]);
}

TEST(Stats, SumFollowsThePartialSumPattern) {
    // Magnitudes far apart, so that every grouping rounds differently.
    const List data = {0x1p64, 1.0, -0x1p64, 0x1p-3, 0x1p65, 3.0, -0x1p65, 0.75, 0x1p66};
    for (size_t n = 1; n <= data.size(); ++n) {
        List x(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_TRUE(SameBits(PartialSumPattern(x), rodived::Sum(x.data(), High(x)))) << "N = " << n;
    }
    const List& x = data;
    Extended x0 = x[0], x1 = x[1], x2 = x[2], x3 = x[3], x4 = x[4], x5 = x[5], x6 = x[6], x7 = x[7];
    EXPECT_TRUE(SameBits((x3 + x2) + (x0 + x1), rodived::Sum(x.data(), 3)));
    EXPECT_TRUE(SameBits(((x6 + x3) + (x7 + x2)) + ((x5 + x0) + (x4 + x1)), rodived::Sum(x.data(), 7)));
}

TEST(Stats, SumsAndSquaresKeepsOneSumAndTwoPartialSumsOfSquares) {
    const List x = {0x1p32, 1.0, 3.0, 0x1p-20, -0x1p32, 5.0, 0x1p31};
    Extended s = 0, q = 0;
    rodived::SumsAndSquares(x.data(), High(x), s, q);
    Extended e[7];
    for (int i = 0; i < 7; ++i) e[i] = x[i];
    Extended sum = ((((((e[6] + e[5]) + e[4]) + e[3]) + e[2]) + e[1]) + e[0]);
    Extended rest = ((((e[6] * e[6] + e[5] * e[5]) + e[3] * e[3]) + e[2] * e[2]) + e[1] * e[1]);
    Extended fours = e[4] * e[4] + e[0] * e[0];
    EXPECT_TRUE(SameBits(sum, s));
    EXPECT_TRUE(SameBits(rest + fours, q));

    const List lone_zero = {-0.0};
    rodived::SumsAndSquares(lone_zero.data(), 0, s, q);
    EXPECT_TRUE(SameBits(-0.0L, s));
    EXPECT_TRUE(SameBits(0.0L, q));
}

// ---- SumInt -------------------------------------------------------------------------------------

TEST(Stats, SumIntAddsFromTheLastElement) {
    const IntList fits = {1, 2147483647, -1};
    const IntList overflows = {-1, 2147483647, 1};
    // Integer additions: the control word must not matter.
    for (uint16_t word : {uint16_t{0x037F}, kAllMasked, uint16_t{0x1332}, uint16_t{0x0C40}}) {
        uint16_t caller = x87::fnstcw();
        x87::fnclex();
        x87::fldcw(word);
        int32_t sum = 0;
        std::unique_ptr<err::Exception> none = Raised([&] { sum = rodived::SumInt(fits.data(), High(fits)); });
        std::unique_ptr<err::Exception> raised = Raised([&] { rodived::SumInt(overflows.data(), High(overflows)); });
        x87::fldcw(caller);
        EXPECT_EQ(nullptr, none);
        EXPECT_EQ(2147483647, sum);
        ASSERT_NE(nullptr, raised) << std::hex << word;
        EXPECT_EQ(err::kind::kIntegerOverflow, raised->Kind);
        EXPECT_STREQ("Integer overflow", raised->Message);
    }
    const IntList nine = {1, -2, 3, -4, 5, -6, 7, -8, 100};
    EXPECT_EQ(96, rodived::SumInt(nine.data(), High(nine)));
}

// ---- MeanAndStdDev, Poly ------------------------------------------------------------------------

TEST(Stats, MeanAndStdDev) {
    const List x = {2, 4, 4, 4, 5, 5, 7, 9};
    Extended mean = 0, std_dev = 0;
    rodived::MeanAndStdDev(x.data(), High(x), mean, std_dev);
    EXPECT_TRUE(SameBits(5.0L, mean));
    EXPECT_TRUE(SameBits(x87::fsqrt(32.0L / 7.0L), std_dev));
    EXPECT_EQ("2.1380899352994", Digits15(std_dev));

    const List one = {-7.5};
    EXPECT_TRUE(FlagsInvalid([&] { rodived::MeanAndStdDev(one.data(), 0, mean, std_dev); }));
    EXPECT_TRUE(SameBits(-7.5L, mean));
    EXPECT_TRUE(IsNaN(std_dev));
}

TEST(Stats, PolyByHorner) {
    const List c = {1, 2, 3};
    const List seven = {7};
    EXPECT_TRUE(SameBits(17.0L, rodived::Poly(2.0L, c.data(), High(c))));
    EXPECT_TRUE(SameBits(1.0L, rodived::Poly(0.0L, c.data(), High(c))));
    EXPECT_TRUE(SameBits(7.0L, rodived::Poly(1e4000L, seven.data(), 0)));
    EXPECT_TRUE(SameBits(7.0L, rodived::Poly(std::numeric_limits<Extended>::infinity(), seven.data(), 0)));
}

// ---- generator ----------------------------------------------------------------------------------

TEST(Stats, UniformRandomFromTheLoadState) {
    rodived::testing::ResetRandomState();
    EXPECT_TRUE(SameBits(0x1p-32L, rodived::UniformRandom()));
    EXPECT_TRUE(SameBits(134775814.0L * 0x1p-32L, rodived::UniformRandom()));
    EXPECT_TRUE(SameBits(3698175007.0L * 0x1p-32L, rodived::UniformRandom()));
}

TEST(Stats, RandGSequenceFromTheLoadState) {
    rodived::testing::ResetRandomState();
    EXPECT_EQ("0.398435249214409", Digits15(rodived::RandG(0.0L, 1.0L)));
    EXPECT_EQ("-1.19746121065489", Digits15(rodived::RandG(0.0L, 1.0L)));
    EXPECT_EQ("-0.486123870273418", Digits15(rodived::RandG(0.0L, 1.0L)));

    // The first call rejected one pair: four draws, so the next uniform value is the fifth.
    rodived::testing::ResetRandomState();
    Extended z = rodived::RandG(0.0L, 1.0L);
    Extended fifth = rodived::UniformRandom();
    rodived::testing::ResetRandomState();
    for (int i = 0; i < 4; ++i) rodived::UniformRandom();
    EXPECT_TRUE(SameBits(fifth, rodived::UniformRandom()));

    rodived::testing::ResetRandomState();
    EXPECT_TRUE(SameBits((z * 2.0L) + 10.0L, rodived::RandG(10.0L, 2.0L)));
    rodived::testing::ResetRandomState();
    EXPECT_EQ("10.7968704984288", Digits15(rodived::RandG(10.0L, 2.0L)));
}

// ---- empty lists --------------------------------------------------------------------------------

TEST(Stats, EmptyListRaisesTheArgumentErrorWithTheRoutinesName) {
    // A null list: reading element 0 would fault instead of raising.
    const double* none = nullptr;
    const int32_t* no_integers = nullptr;
    Extended a = 0, b = 0;
    struct Case {
        const char* routine;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"EMax", [&] { rodived::EMax(none, -1); }},
        {"EMin", [&] { rodived::EMin(none, -1); }},
        {"iMax", [&] { rodived::iMax(no_integers, -1); }},
        {"iMin", [&] { rodived::iMin(no_integers, -1); }},
        {"MaxValue", [&] { rodived::MaxValue(none, -1); }},
        {"MinValue", [&] { rodived::MinValue(none, -1); }},
        {"MaxIntValue", [&] { rodived::MaxIntValue(no_integers, -1); }},
        {"MinIntValue", [&] { rodived::MinIntValue(no_integers, -1); }},
        {"Sum", [&] { rodived::Sum(none, -1); }},
        {"SumInt", [&] { rodived::SumInt(no_integers, -1); }},
        {"SumsAndSquares", [&] { rodived::SumsAndSquares(none, -1, a, b); }},
        {"Mean", [&] { rodived::Mean(none, -1); }},
        {"TotalVariance", [&] { rodived::TotalVariance(none, -1); }},
        {"Variance", [&] { rodived::Variance(none, -1); }},
        {"PopnVariance", [&] { rodived::PopnVariance(none, -1); }},
        {"StdDev", [&] { rodived::StdDev(none, -1); }},
        {"PopnStdDev", [&] { rodived::PopnStdDev(none, -1); }},
        {"MeanAndStdDev", [&] { rodived::MeanAndStdDev(none, -1, a, b); }},
        {"Poly", [&] { rodived::Poly(2.0L, none, -1); }},
    };
    for (const Case& c : cases) {
        std::unique_ptr<err::Exception> raised = Raised(c.call);
        ASSERT_NE(nullptr, raised) << c.routine;
        EXPECT_EQ(err::kind::kArgumentError, raised->Kind) << c.routine;
        EXPECT_STREQ(c.routine, raised->Message);
    }
}

}  // namespace
