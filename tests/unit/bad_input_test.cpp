// Any byte string is a valid argument: every export, given arbitrary bytes, returns, faults or
// raises a module exception, and never reads or writes out of bounds (run under the sanitizers).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/exports.h"

namespace {

struct Export {
    const char* name;
    void (*function)();
};

#define FUNCPLUG_TEST_EXPORT_ROW(name, ...) {#name, name},
const Export kExports[] = {FUNCPLUG_CATALOGUE(FUNCPLUG_TEST_EXPORT_ROW)};
#undef FUNCPLUG_TEST_EXPORT_ROW

std::string RandomBytes(std::mt19937& random) {
    static const char kLikely[] = "0123456789|.-+eE ,";
    std::string text(random() % 40, '\0');
    for (char& c : text) {
        c = random() % 3 == 0 ? static_cast<char>(1 + random() % 255) : kLikely[random() % (sizeof kLikely - 1)];
    }
    return text;
}

TEST(BadInputTest, ArbitraryBytesThroughEveryExport) {
    std::mt19937 random(1251);
    for (uint16_t control_word : {testing_support::kHostControlWord, testing_support::kAllMasked}) {
        for (const Export& e : kExports) {
            for (int n = 0; n < 60; ++n) {
                std::string text = RandomBytes(random);
                auto call = testing_support::CallExport(e.function, text, control_word);
                // A stub or a failure leaves FileText as the frame says: a suffix of the argument.
                if (call.raised.outcome != host::Outcome::kReturned)
                    EXPECT_EQ(text.substr(text.size() - call.file_text.size()), call.file_text) << e.name;
                if (call.raised.outcome != host::Outcome::kFault)
                    EXPECT_EQ(control_word, call.raised.control_word) << e.name;
            }
        }
    }
}

TEST(BadInputTest, HugeArguments) {
    const struct {
        void (*function)();
        std::string text;
        host::Outcome outcome;
        const char* result;
    } cases[] = {
        {getSum, std::string(1000000, '|'), host::Outcome::kReturned, "0"},
        {getSqr, std::string(1 << 20, '7'), host::Outcome::kFault, nullptr},  // overflow
        {getEAbs, "0." + std::string(1 << 20, '0') + "1", host::Outcome::kReturned, "0"},
        {getSumOfSquares, std::string(1 << 20, '\xFF'), host::Outcome::kReturned, "0"},
    };
    for (const auto& c : cases) {
        auto call = testing_support::CallExport(c.function, c.text);
        EXPECT_EQ(c.outcome, call.raised.outcome);
        if (c.result != nullptr) EXPECT_EQ(c.result, call.file_text);
    }
}

}  // namespace
