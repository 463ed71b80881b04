#include "numtext/format.h"

#include <cstring>

#include "rodived/x87.h"

namespace numtext {

using x87::Extended;

namespace {
constexpr Extended kScaleUpBelow = 5000000000000.0L;     // 5e12
constexpr Extended kScaleDownFrom = 10000000000000.0L;   // 1e13
constexpr int64_t kFifteenDigits = 100000000000000;      // 1e14, the smallest 15-digit integer
constexpr int kDigits = 15;
constexpr Extended kInfinity = x87::FromBits(0x7FFF, 0x8000000000000000);

std::size_t Copy(const char* text, char* out) {
    std::size_t n = std::strlen(text);
    std::memcpy(out, text, n + 1);
    return n;
}
}  // namespace

std::size_t FloatToText(double v, char* out) {
    Extended e = v;
    // NaN is unordered, so it fails both tests and reads as zero.
    if (!(e < 0) && !(e > 0)) return Copy("0", out);
    bool negative = e < 0;
    e = x87::fabs(e);
    if (e == kInfinity) return Copy(negative ? "-INF" : "INF", out);

    int point = kDigits;  // the value is 0.d1...d15 * 10^point
    if (e < kScaleUpBelow) {
        do {
            e = e * 10;
            --point;
        } while (e < kScaleUpBelow);
    } else {
        while (e >= kScaleDownFrom) {
            e = e / 10;
            ++point;
        }
    }
    int64_t d = x87::fistp64(e);
    while (d < kFifteenDigits) {
        e = e * 10;
        --point;
        d = x87::fistp64(e);
    }

    char digits[kDigits];
    for (int k = kDigits - 1; k >= 0; --k) {
        digits[k] = static_cast<char>('0' + d % 10);
        d /= 10;
    }

    char* p = out;
    if (negative) *p++ = '-';
    if (point >= kDigits) {
        std::memcpy(p, digits, kDigits);
        p += kDigits;
        std::memset(p, '0', static_cast<std::size_t>(point - kDigits));
        p += point - kDigits;
    } else {
        if (point <= 0) {
            *p++ = '0';
            *p++ = '.';
            std::memset(p, '0', static_cast<std::size_t>(-point));
            p += -point;
            std::memcpy(p, digits, kDigits);
            p += kDigits;
        } else {
            std::memcpy(p, digits, static_cast<std::size_t>(point));
            p += point;
            *p++ = '.';
            std::memcpy(p, digits + point, static_cast<std::size_t>(kDigits - point));
            p += kDigits - point;
        }
        // Trailing zeros go, then the point if nothing follows it; the leading digit is never 0.
        while (p[-1] == '0') --p;
        if (p[-1] == '.') --p;
    }
    *p = '\0';
    return static_cast<std::size_t>(p - out);
}

std::size_t IntToText(int32_t v, char* out) {
    uint32_t magnitude = static_cast<uint32_t>(v);
    if (v < 0) magnitude = 0u - magnitude;
    char digits[kIntTextCapacity];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    char* p = out;
    if (v < 0) *p++ = '-';
    while (n > 0) *p++ = digits[--n];
    *p = '\0';
    return static_cast<std::size_t>(p - out);
}

}  // namespace numtext
