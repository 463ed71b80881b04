#include "rodived/explog.h"

namespace rodived {

namespace {
// The power bound of Power: 2147483647 = 2^31 - 1.
constexpr Extended kLargestIntPowerExponent = x87::FromBits(0x401D, 0xFFFFFFFE00000000);  // 2147483647
static_assert(kLargestIntPowerExponent == 2147483647.0L);

// Below this sign/exponent word a positive x is under 0.25 and FYL2XP1 applies.
constexpr uint16_t kQuarterSignExponent = 0x3FFD;
}  // namespace

double EAbs(double x) {
    Extended e = x;
    return x87::StoreDouble(e < 0 ? -e : e);
}

Extended Exp(Extended x) {
    Extended y = x * x87::fldl2e();
    Extended n = x87::frndint(y);
    Extended f = y - n;
    return x87::fscale(x87::f2xm1(f) + 1.0L, n);
}

Extended Frac(Extended x) { return x - x87::TruncateToIntegral(x); }

int64_t Trunc(Extended x) { return x87::TruncateToInt64(x); }

Extended LnXP1(Extended x) {
    // The word test reads the sign too: every negative x, -0 included, takes the second road.
    if (x87::SignExponentOf(x) < kQuarterSignExponent) return x87::fyl2xp1(x, x87::fldln2());
    return x87::fyl2x(1.0L + x, x87::fldln2());
}

Extended Log10(Extended x) { return x87::fyl2x(x, x87::fldlg2()); }

Extended Log2(Extended x) { return x87::fyl2x(x, 1.0L); }

Extended LogN(Extended base, Extended x) {
    Extended log_x = x87::fyl2x(x, 1.0L);
    Extended log_base = x87::fyl2x(base, 1.0L);
    return log_x / log_base;
}

Extended Ln(Extended x) { return x87::fyl2x(x, x87::fldln2()); }

Extended Power(Extended base, Extended exponent) {
    if (exponent == 0) return 1.0L;
    if (base == 0 && exponent > 0) return 0.0L;
    if (Frac(exponent) == 0 && EAbs(x87::StoreDouble(exponent)) <= kLargestIntPowerExponent) {
        return IntPower(base, static_cast<int32_t>(static_cast<uint32_t>(Trunc(exponent))));
    }
    return Exp(exponent * Ln(base));
}

Extended IntPower(Extended base, int32_t n) {
    Extended result = 1.0L;
    if (n == 0) return result;
    Extended factor = base;
    uint32_t remaining = static_cast<uint32_t>(n);
    if (n < 0) {
        factor = 1.0L / factor;
        remaining = 0u - remaining;
    }
    for (;;) {
        bool bit = (remaining & 1u) != 0;
        remaining >>= 1;
        if (bit) {
            result = result * factor;
            if (remaining == 0) break;
        }
        factor = factor * factor;
    }
    return result;
}

void Frexp(Extended x, Extended& mantissa, int32_t& exponent) {
    exponent = 0;
    if (x == 0) {
        mantissa = x;
        return;
    }
    x87::Extracted parts = x87::fxtract(x);
    exponent = static_cast<int32_t>(x87::fistp64(parts.exponent)) + 1;
    mantissa = x87::fscale(parts.significand, -1.0L);
}

Extended Ldexp(Extended x, int32_t p) { return x87::fscale(x, static_cast<Extended>(p)); }

int32_t Ceil(Extended x) {
    uint32_t t = static_cast<uint32_t>(Trunc(x));
    if (Frac(x) > 0) t += 1u;
    return static_cast<int32_t>(t);
}

int32_t Floor(Extended x) {
    uint32_t t = static_cast<uint32_t>(Trunc(x));
    if (Frac(x) < 0) t -= 1u;
    return static_cast<int32_t>(t);
}

}  // namespace rodived
