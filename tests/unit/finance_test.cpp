#include "rodived/finance.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "err/exception.h"
#include "funcplug/host_abi.h"
#include "platform/platform.h"
#include "rodived/x87.h"

namespace {

using rodived::InternalRateOfReturn;
using rodived::SLNDepreciation;
using rodived::SYDDepreciation;
using x87::Extended;

std::string ModuleOf(const void* address) {
    char name[4096];
    const void* base;
    if (!platform::ModuleOfAddress(address, name, sizeof name, &base)) return "";
    return name;
}

// The argument error a call raises, checked as a host sees it: kind 10, the message, the raise
// address in the record and inside the module's code. Empty when nothing is raised.
std::string ArgumentErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const funcplug::ModuleRaise& raise) {
        EXPECT_EQ(funcplug::kModuleExceptionCode, raise.code);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(raise.address), raise.parameters[funcplug::kRaiseAddressParameter]);
        EXPECT_EQ(ModuleOf(reinterpret_cast<const void*>(&rodived::InternalRateOfReturn)), ModuleOf(raise.address));
        auto* object = reinterpret_cast<err::Exception*>(raise.parameters[funcplug::kExceptionObjectParameter]);
        EXPECT_EQ(err::kind::kArgumentError, object->Kind);
        std::string message = object->Message;
        delete object;
        return message;
    }
    return "";
}

Extended Irr(Extended guess, const std::vector<double>& flows) {
    return InternalRateOfReturn(guess, flows.data(), static_cast<int32_t>(flows.size()) - 1);
}

TEST(SLNDepreciation, Amounts) {
    struct Case {
        Extended expected, cost, salvage;
        int32_t life;
    };
    const Case cases[] = {
        {300, 1000, 100, 3},
        {-300, 100, 1000, 3},
        {900, 1000, 100, 1},
        {0, 100, 100, 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, SLNDepreciation(c.cost, c.salvage, c.life)) << c.cost << " " << c.salvage << " " << c.life;
    }
}

TEST(SLNDepreciation, LifeBelowOneRaises) {
    for (int32_t life : {0, -5, INT32_MIN}) {
        EXPECT_EQ("SLNDepreciation", ArgumentErrorOf([=] { SLNDepreciation(1000, 100, life); })) << life;
    }
}

TEST(SYDDepreciation, Amounts) {
    struct Case {
        Extended expected, cost, salvage;
        int32_t life, period;
    };
    const Case cases[] = {
        {450, 1000, 100, 3, 1},
        {300, 1000, 100, 3, 2},
        {150, 1000, 100, 3, 3},
        {0, 1000, 100, 3, 0},
        {0, 1000, 100, 3, 4},
        {0, 1000, 100, 3, -1},
        {0, 100, 100, 3, 1},   // salvage equal to cost
        {0, 100, 1000, 3, 1},  // salvage above cost
        {0, 1000, 100, 0, 1},  // no life: no division
        {0, 1000, 100, -5, 1},
        {900, 1000, 100, 1, 1},
        // The last life whose 32-bit products are exact: 1073720970 * 92680 / 2147441940.
        {46340, 1073720970, 0, 46340, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, SYDDepreciation(c.cost, c.salvage, c.life, c.period))
            << c.cost << " " << c.salvage << " " << c.life << " " << c.period;
    }
}

// With Cost - Salvage = L(L+1)/2 the amount of period p is exactly L - p + 1; beyond a life of
// 46340 that needs products wider than 32 bits.
TEST(SYDDepreciation, LivesBeyond32BitProducts) {
    struct Case {
        int32_t life, period;
    };
    const Case cases[] = {
        {46341, 1}, {50000, 1}, {50000, 25000}, {50000, 50000}, {1000000, 3}, {2147483647, 1}, {2147483647, 2147483647},
    };
    for (const Case& c : cases) {
        Extended depreciable = Extended(int64_t{c.life} * (int64_t{c.life} + 1) / 2);
        Extended expected = Extended(int64_t{c.life} - c.period + 1);
        EXPECT_EQ(expected, SYDDepreciation(depreciable + 5, 5, c.life, c.period)) << c.life << " " << c.period;
    }
    // 2^30 over a life of 2^31 - 1, first period: 2^30 * (2^32 - 2) / ((2^31 - 1) * 2^31) = 1.
    EXPECT_EQ(1.0L, SYDDepreciation(1073741824, 0, 2147483647, 1));
}

TEST(InternalRateOfReturn, Rates) {
    struct Case {
        Extended expected, guess;
        std::vector<double> flows;
    };
    const Case cases[] = {
        {0.1L, 0, {-100, 110}},
        {0.1L, 0.7L, {-100, 110}},
        {0.1L, -5, {-100, 110}},  // the running sums stay negative: the guess is not used
        {-0.5L, 0.1L, {100, -50}},
        {0.1L, 0.5L, {100, -110}},
        {0.1L, 0, {-100, 230, -132}},  // two rates: the one reached from the guess wins
        {0.2L, 0.25L, {-100, 230, -132}},
        {0.5L, 0, {-100, 0, 225}},
        {-1, 0, {-100}},
        {-1, 0, {100}},
        {-1, 0, {0, -100}},
        {-1, 0, {-0.0, 100}},  // -0 counts as an inflow, and -0 * x^0 cannot balance it
    };
    for (const Case& c : cases) {
        Extended rate = Irr(c.guess, c.flows);
        EXPECT_NEAR(static_cast<double>(c.expected), static_cast<double>(rate), 1E-15) << c.flows.size() << " " << c.guess;
    }
}

TEST(InternalRateOfReturn, TenDigitReference) {
    Extended rate = Irr(0, {-1000, 300, 400, 500});
    EXPECT_NEAR(0.08896339469, static_cast<double>(rate), 5E-12);
}

// The present value at the returned rate vanishes, relative to the size of the discounted flows.
TEST(InternalRateOfReturn, PresentValueVanishesAtTheRate) {
    struct Case {
        Extended guess;
        std::vector<double> flows;
    };
    const Case cases[] = {
        {0, {-1000, 300, 400, 500}},
        {0.1L, {-5000, 1200, 1400, 1600, 1800, 2000}},
        {0, {-250, -250, 100, 100, 100, 100, 100, 100}},
        {0.05L, {-1E6, 2E4, 2E4, 2E4, 2E4, 1.05E6}},
        {0, {-100, 60, 60}},
        {0.3L, {500, -120, -120, -120, -120, -120}},  // a loan: the guess is used
    };
    for (const Case& c : cases) {
        Extended rate = Irr(c.guess, c.flows);
        Extended present = 0;
        Extended magnitude = 0;
        Extended discount = 1;
        for (double flow : c.flows) {
            present += Extended(flow) * discount;
            magnitude += (flow < 0 ? -Extended(flow) : Extended(flow)) * discount;
            discount /= 1 + rate;
        }
        EXPECT_GT(rate, -1) << c.flows.size();
        EXPECT_LT(static_cast<double>(present < 0 ? -present : present), static_cast<double>(magnitude) * 1E-13)
            << c.flows.size() << " rate " << static_cast<double>(rate);
    }
}

TEST(InternalRateOfReturn, ArgumentErrors) {
    struct Case {
        Extended guess;
        std::vector<double> flows;
    };
    const Case cases[] = {
        {-1, {100, -110}},  // the guess is used and is not above -1
        {-2, {100}},
        {0, {}},
        {0, {0, 0}},
        {0, {0.0, -0.0, 0.0}},
        {-2, {}},
        {0, {-100, 190, -100}},  // no rate at all: the iteration does not settle
        {0, {-100, 50, -100}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ("InternalRateOfReturn", ArgumentErrorOf([&] { Irr(c.guess, c.flows); })) << c.flows.size();
    }
}

TEST(OutflowPrefix, RunningSumsThroughTheLastOutflow) {
    struct Case {
        int32_t expected;
        std::vector<double> flows;
    };
    const Case cases[] = {
        {1, {-100, 110}},
        {0, {100, -50}},
        {0, {-100, 230, -132}},  // the sum turns non-negative before the last outflow
        {3, {-100, 50, -10, 200}},
        {0, {100}},
        {0, {}},
        {0, {-0.0, -1}},  // a running sum of -0 is not negative
        {1, {-1, 0, -0.0}},
        // 1 - 2^-60 rounds to 1 in 64 bits, so the second running sum is 0, not negative.
        {0, {-1, 1 - 0x1p-60, -1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, rodived::detail::OutflowPrefix(c.flows.data(), static_cast<int32_t>(c.flows.size()) - 1))
            << c.flows.size();
    }
}

TEST(SplitPolyValue, PartsAndSlopes) {
    const double flows[] = {-100, 230, -132, 0};
    rodived::detail::TSplitPoly p = rodived::detail::SplitPolyValue(flows, 3, 0.5L);
    EXPECT_EQ(-100 - 132 * 0.25L, p.NegPart);
    EXPECT_EQ(230 * 0.5L, p.PosPart);
    EXPECT_EQ(2 * -132 * 0.25L, p.NegSlope);
    EXPECT_EQ(230 * 0.5L, p.PosSlope);

    rodived::detail::TSplitPoly empty = rodived::detail::SplitPolyValue(flows, -1, 0.5L);
    EXPECT_EQ(0, empty.NegPart);
    EXPECT_EQ(0, empty.PosPart);
    EXPECT_EQ(0, empty.NegSlope);
    EXPECT_EQ(0, empty.PosSlope);
}

TEST(NegligibleStep, BoundOnRoundedValues) {
    struct Case {
        bool expected;
        Extended step, t;
    };
    const Case cases[] = {
        {true, 0, 0},
        {false, 1E-15L, 0},  // the bound is strict
        {true, 0.9E-15L, 0},
        {true, -0.9E-15L, 0},
        {true, 1.5E-12L, -2},
        {false, 2.1E-12L, 2},
        {true, 0x1p-16000L, 0},  // rounds to 0 in 64 bits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, rodived::detail::NegligibleStep(c.step, c.t))
            << static_cast<double>(c.step) << " " << static_cast<double>(c.t);
    }
    EXPECT_EQ(1E-15, rodived::detail::AbsStepTolerance);
    EXPECT_EQ(1E-12, rodived::detail::RelStepTolerance);
}

}  // namespace
