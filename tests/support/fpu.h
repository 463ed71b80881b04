// Running kernel code under a known x87 control word in unit tests, and comparing extended values.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "rodived/x87.h"

namespace testing_support {

using x87::Extended;

// Every condition masked, 64-bit precision, rounding to nearest: a domain error shows as its
// default value and its flag instead of a fault.
constexpr uint16_t kAllMasked = 0x137F;

// The condition flags `f` raises under kAllMasked, from clear flags; afterwards the caller's
// control word is back and the flags are clear.
template <typename F>
uint16_t FlagsRaisedBy(F f) {
    uint16_t caller = x87::fnstcw();
    x87::fldcw(kAllMasked);
    x87::fnclex();
    f();
    uint16_t flags = x87::fnstsw() & x87::cw::kMaskAll;
    x87::fnclex();
    x87::fldcw(caller);
    return flags;
}

// A suite whose every test runs under kAllMasked.
class AllMaskedTest : public ::testing::Test {
protected:
    void SetUp() override {
        caller_ = x87::fnstcw();
        x87::fnclex();
        x87::fldcw(kAllMasked);
    }
    void TearDown() override {
        x87::fnclex();
        x87::fldcw(caller_);
    }

private:
    uint16_t caller_ = 0;
};

inline bool SameBits(Extended a, Extended b) {
    return x87::SignExponentOf(a) == x87::SignExponentOf(b) && x87::SignificandOf(a) == x87::SignificandOf(b);
}

}  // namespace testing_support
