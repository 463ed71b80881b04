#include "numtext/parse.h"

#include "rodived/explog.h"
#include "rodived/x87.h"

namespace numtext {

using x87::Extended;

namespace {
// The extended value nearest 1/10: 14757395258967641293 / 2^67, slightly above 0.1.
constexpr Extended kTenth = x87::FromBits(0x3FFB, 0xCCCCCCCCCCCCCCCD);  // 0.1000000000000000000013553
}  // namespace

namespace {
// ---- exact shortcuts ----------------------------------------------------------------------------
// Two shortcuts give the same bits and the same flags as the digit loop, and are taken only under
// the control words for which that holds.
//
// Integer digits: while R stays below 2^53, every step ((R*10) + b) - 48 and its rounding to 64
// bits are exact under 53- or 64-bit precision and any rounding, so R can be accumulated as an
// integer. With 24-bit precision the steps round, and the loop does them one by one.
constexpr uint64_t kExactIntegerLimit = (uint64_t{1} << 53) / 10 - 1;

bool IntegerShortcutHolds(uint16_t control_word) {
    return (control_word & x87::cw::kPrecisionMask) >= 0x0200;  // 53- or 64-bit precision
}

// Weights: W after k digits past the point depends only on k and on the rounding and precision
// control, so the weights are made once per such control, by the very steps of the loop. Making
// them raises only the precision flag, as the loop would at its first weight; so the table is
// used only where precision is masked, and holds no weight small enough to underflow.
constexpr int kTabledWeights = 40;

struct WeightTable {
    uint16_t control = 0xFFFF;  // rounding and precision bits the weights were made under
    double weights[kTabledWeights + 1];
};
WeightTable weight_table;

const double* WeightsFor(uint16_t control_word) {
    uint16_t control = control_word & (x87::cw::kRoundingMask | x87::cw::kPrecisionMask);
    if (weight_table.control != control) {
        Extended w = 1;
        weight_table.weights[0] = 1;
        for (int k = 1; k <= kTabledWeights; ++k) {
            w = x87::RoundToDouble(w * kTenth);
            weight_table.weights[k] = static_cast<double>(w);
        }
        weight_table.control = control;
    }
    return weight_table.weights;
}
}  // namespace

double TextToFloat(std::string_view text) {
    Extended r = 0;  // always a 64-bit float value, held widened
    if (text.empty()) return 0;
    std::size_t i = 0;
    bool negative = text[0] == '-';
    if (negative) i = 1;
    const uint16_t control_word = x87::fnstcw();

    // Leading integer digits, exactly. Anything else ends the shortcut and the loop takes over.
    if (IntegerShortcutHolds(control_word)) {
        uint64_t integer = 0;
        std::size_t first = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && integer <= kExactIntegerLimit)
            integer = integer * 10 + static_cast<uint64_t>(text[i++] - '0');
        r = static_cast<Extended>(integer);
        // Rounding downward, the loop's 48 - 48 is -0, and -0 stays -0 through further zeros.
        constexpr uint16_t kRoundDown = 0x0400;
        if (integer == 0 && i > first && (control_word & x87::cw::kRoundingMask) == kRoundDown) r = -r;
    }

    bool point_seen = false;
    Extended w = 1;  // weight of the next digit after the point
    const double* weights = nullptr;                 // made on the first digit after the point
    int digits_after_point = 0;                       // -1: the weights are not tabled
    if ((control_word & x87::cw::kMaskPrecision) == 0) digits_after_point = -1;
    for (; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '.') {
            if (point_seen) break;
            point_seen = true;
        } else if (c >= '0' && c <= '9') {
            if (!point_seen) {
                r = x87::RoundToDouble(((r * 10) + static_cast<Extended>(c)) - 48);
            } else {
                if (digits_after_point > 0 && digits_after_point < kTabledWeights) {
                    w = weights[++digits_after_point];
                } else if (digits_after_point == 0) {
                    // The first weight is a real step: it raises the precision flag as the loop's
                    // steps would, whether or not the table is already made.
                    weights = WeightsFor(control_word);
                    w = x87::RoundToDouble(w * kTenth);
                    digits_after_point = 1;
                } else {
                    w = x87::RoundToDouble(w * kTenth);
                    if (digits_after_point >= 0) ++digits_after_point;
                }
                r = x87::RoundToDouble((static_cast<Extended>(c - '0') * w) + r);
            }
        } else if (c == 'E' || c == 'e') {
            int32_t n = TextToInt(text.substr(i + 1));
            r = x87::RoundToDouble(rodived::IntPower(10, n) * r);
            break;
        }
    }
    if (negative) r = -r;
    return static_cast<double>(r);
}

int32_t TextToInt(std::string_view text) {
    uint32_t v = 0;
    if (text.empty()) return 0;
    std::size_t i = 0;
    bool negative = text[0] == '-';
    if (negative || text[0] == '+') i = 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) v = v * 10u + static_cast<uint32_t>(text[i] - '0');
    if (negative) v = 0u - v;
    return static_cast<int32_t>(v);
}

}  // namespace numtext
