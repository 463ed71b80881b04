#include "numtext/parse.h"

#include "rodived/explog.h"
#include "rodived/x87.h"

namespace numtext {

using x87::Extended;

namespace {
// The extended value nearest 1/10: 14757395258967641293 / 2^67, slightly above 0.1.
constexpr Extended kTenth = x87::FromBits(0x3FFB, 0xCCCCCCCCCCCCCCCD);  // 0.1000000000000000000013553
}  // namespace

double TextToFloat(std::string_view text) {
    Extended r = 0;  // always a 64-bit float value, held widened
    if (text.empty()) return 0;
    std::size_t i = 0;
    bool negative = text[0] == '-';
    if (negative) i = 1;
    bool point_seen = false;
    Extended w = 1;  // weight of the next digit after the point
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
