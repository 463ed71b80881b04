// The parser's exact shortcuts against the plain digit loop they stand for: same bits, same flags,
// under every rounding and precision control.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "numtext/parse.h"
#include "rodived/explog.h"
#include "rodived/x87.h"

namespace {

using x87::Extended;

// The digit loop, step by step, without shortcuts.
double DigitByDigit(std::string_view text) {
    constexpr Extended kTenth = x87::FromBits(0x3FFB, 0xCCCCCCCCCCCCCCCD);
    Extended r = 0;
    if (text.empty()) return 0;
    std::size_t i = text[0] == '-' ? 1 : 0;
    bool point_seen = false;
    Extended w = 1;
    for (; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '.') {
            if (point_seen) break;
            point_seen = true;
        } else if (c >= '0' && c <= '9') {
            if (!point_seen) {
                r = x87::RoundToDouble(((r * 10) + static_cast<Extended>(c)) - 48);
            } else {
                w = x87::RoundToDouble(w * kTenth);
                r = x87::RoundToDouble((static_cast<Extended>(c - '0') * w) + r);
            }
        } else if (c == 'E' || c == 'e') {
            r = x87::RoundToDouble(rodived::IntPower(10, numtext::TextToInt(text.substr(i + 1))) * r);
            break;
        }
    }
    if (text[0] == '-') r = -r;
    return static_cast<double>(r);
}

std::string RandomNumberText(std::mt19937_64& random) {
    static const char kAlphabet[] = "0123456789012345678901234567890123456789.., |-e";
    std::string text;
    int integer_digits = static_cast<int>(random() % 22);
    for (int k = 0; k < integer_digits; ++k) text += static_cast<char>('0' + random() % 10);
    if (random() % 4 != 0) {
        text += '.';
        int fraction_digits = static_cast<int>(random() % 60);
        for (int k = 0; k < fraction_digits; ++k) text += static_cast<char>('0' + random() % 10);
    }
    if (random() % 8 == 0) text.insert(random() % (text.size() + 1), 1, kAlphabet[random() % (sizeof kAlphabet - 1)]);
    if (random() % 5 == 0) text = "-" + text;
    return text;
}

TEST(ParseShortcutTest, SameBitsAndFlagsAsTheDigitLoopUnderEveryControl) {
    const uint16_t words[] = {0x137F, 0x127F, 0x027F, 0x007F, 0x177F, 0x1B7F, 0x1F7F, 0x0F7F, 0x037F};
    uint16_t saved = x87::fnstcw();
    std::mt19937_64 random(20261211);
    for (uint16_t word : words) {
        for (int n = 0; n < 4000; ++n) {
            std::string text = RandomNumberText(random);
            x87::fldcw(word);
            x87::fnclex();
            double expected = DigitByDigit(text);
            uint16_t expected_flags = x87::fnstsw() & 0x3F;
            x87::fnclex();
            double actual = numtext::TextToFloat(text);
            uint16_t actual_flags = x87::fnstsw() & 0x3F;
            x87::fnclex();
            x87::fldcw(saved);
            ASSERT_EQ(0, std::memcmp(&expected, &actual, sizeof actual)) << "cw " << std::hex << word << " \"" << text << '"';
            ASSERT_EQ(expected_flags, actual_flags) << "cw " << std::hex << word << " \"" << text << '"';
        }
    }
}

}  // namespace
