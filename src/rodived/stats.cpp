#include "rodived/stats.h"

#include <utility>

#include "err/exception.h"
#include "rodived/explog.h"

namespace rodived {

namespace {

constexpr Extended kTwoToMinus32 = x87::FromBits(0x3FDF, 0x8000000000000000);  // 2^-32
static_assert(kTwoToMinus32 * 4294967296.0L == 1.0L);

// -0 is the identity of addition, so an accumulator starting there yields exactly
// x[H] + x[H-1] + ... from its first element on, a lone -0 included.
constexpr Extended kNegativeZero = x87::FromBits(0x8000, 0);

constexpr uint32_t kMultiplier = 0x08088405;  // 134775813

// The generator's whole state; nothing but UniformRandom reads or writes it (and the reset that
// only the unit tests reach).
uint32_t RandomState = 0;

// N as an extended value; exact for every list length.
Extended CountOf(int32_t high) { return static_cast<Extended>(static_cast<int64_t>(high) + 1); }

// Noinline, so that the raise address it reports lies inside SumInt; not declared noreturn, so
// that the compiler keeps the call in SumInt's body instead of moving it to a detached cold part.
__attribute__((noinline)) void RaiseIntegerOverflow() {
    err::RaiseModuleException(err::Exception::Create(err::kind::kIntegerOverflow, "Integer overflow"),
                              __builtin_return_address(0));
}

// The unchecked bodies: callers have made sure high >= 0.

template <typename T>
T Largest(const T* x, int32_t high) {
    T r = x[0];
    for (int32_t i = 1; i <= high; ++i)
        if (x[i] > r) r = x[i];
    return r;
}

template <typename T>
T Smallest(const T* x, int32_t high) {
    T r = x[0];
    for (int32_t i = 1; i <= high; ++i)
        if (x[i] < r) r = x[i];
    return r;
}

Extended SumOf(const double* x, int32_t high) {
    Extended l0 = 0.0L, l1 = 0.0L, l2 = 0.0L, l3 = 0.0L;
    int32_t i = high;
    // Entered at the element with the highest index; after index i the running sum L0 changes
    // places with L3, L2, L1, L2 for i mod 4 = 3, 2, 1, 0.
    switch (high & 3) {
        do {
            case 3:
                l0 = l0 + x[i];
                std::swap(l0, l3);
                --i;
                [[fallthrough]];
            case 2:
                l0 = l0 + x[i];
                std::swap(l0, l2);
                --i;
                [[fallthrough]];
            case 1:
                l0 = l0 + x[i];
                std::swap(l0, l1);
                --i;
                [[fallthrough]];
            case 0:
                l0 = l0 + x[i];
                std::swap(l0, l2);
                --i;
        } while (i >= 0);
    }
    return (l3 + l0) + (l2 + l1);
}

void SumsAndSquaresOf(const double* x, int32_t high, Extended& sum, Extended& sum_of_squares) {
    Extended s = kNegativeZero;
    Extended q_rest = 0.0L;   // squares of the elements whose index is not a multiple of 4
    Extended q_fours = 0.0L;  // squares of the elements whose index is a multiple of 4
    int32_t i = high;
    Extended e;
    switch (high & 3) {
        do {
            case 3:
                e = x[i];
                s = s + e;
                q_rest = q_rest + e * e;
                --i;
                [[fallthrough]];
            case 2:
                e = x[i];
                s = s + e;
                q_rest = q_rest + e * e;
                --i;
                [[fallthrough]];
            case 1:
                e = x[i];
                s = s + e;
                q_rest = q_rest + e * e;
                --i;
                [[fallthrough]];
            case 0:
                e = x[i];
                s = s + e;
                q_fours = q_fours + e * e;
                --i;
        } while (i >= 0);
    }
    sum = s;
    sum_of_squares = q_rest + q_fours;
}

Extended TotalVarianceOf(const double* x, int32_t high) {
    Extended s, q;
    SumsAndSquaresOf(x, high, s, q);
    return q - ((s * s) / CountOf(high));
}

}  // namespace

namespace testing {
// Puts the generator back into its load state. Not part of the interface: declared only by the
// unit tests, and not exported from the module.
void ResetRandomState() { RandomState = 0; }
}  // namespace testing

Extended EMax(const double* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("EMax");
    return Largest(x, high);
}

Extended EMin(const double* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("EMin");
    return Smallest(x, high);
}

int32_t iMax(const int32_t* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("iMax");
    return Largest(x, high);
}

int32_t iMin(const int32_t* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("iMin");
    return Smallest(x, high);
}

Extended MaxValue(const double* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("MaxValue");
    return Largest(x, high);
}

Extended MinValue(const double* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("MinValue");
    return Smallest(x, high);
}

int32_t MaxIntValue(const int32_t* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("MaxIntValue");
    return Largest(x, high);
}

int32_t MinIntValue(const int32_t* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("MinIntValue");
    return Smallest(x, high);
}

int32_t Max(int32_t a, int32_t b) { return b < a ? a : b; }

int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }

Extended Sum(const double* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("Sum");
    return SumOf(x, high);
}

int32_t SumInt(const int32_t* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("SumInt");
    int32_t s = 0;
    int32_t i = high;
    switch (high & 3) {
        do {
            case 3:
                if (__builtin_add_overflow(s, x[i], &s)) RaiseIntegerOverflow();
                --i;
                [[fallthrough]];
            case 2:
                if (__builtin_add_overflow(s, x[i], &s)) RaiseIntegerOverflow();
                --i;
                [[fallthrough]];
            case 1:
                if (__builtin_add_overflow(s, x[i], &s)) RaiseIntegerOverflow();
                --i;
                [[fallthrough]];
            case 0:
                if (__builtin_add_overflow(s, x[i], &s)) RaiseIntegerOverflow();
                --i;
        } while (i >= 0);
    }
    return s;
}

Extended SumOfSquares(const double* x, int32_t high) {
    Extended s = 0.0L;
    for (int32_t i = 0; i <= high; ++i) {
        Extended e = x[i];
        s = e * e + s;
    }
    return s;
}

void SumsAndSquares(const double* x, int32_t high, Extended& sum, Extended& sum_of_squares) {
    if (high < 0) err::RaiseArgumentError("SumsAndSquares");
    SumsAndSquaresOf(x, high, sum, sum_of_squares);
}

Extended Mean(const double* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("Mean");
    return SumOf(x, high) / CountOf(high);
}

Extended TotalVariance(const double* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("TotalVariance");
    return TotalVarianceOf(x, high);
}

Extended Variance(const double* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("Variance");
    return TotalVarianceOf(x, high) / static_cast<Extended>(high);
}

Extended PopnVariance(const double* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("PopnVariance");
    return TotalVarianceOf(x, high) / CountOf(high);
}

Extended StdDev(const double* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("StdDev");
    return x87::fsqrt(TotalVarianceOf(x, high) / static_cast<Extended>(high));
}

Extended PopnStdDev(const double* x, int32_t high) {
    if (high < 0) err::RaiseArgumentError("PopnStdDev");
    return x87::fsqrt(TotalVarianceOf(x, high) / CountOf(high));
}

Extended Norm(const double* x, int32_t high) { return x87::fsqrt(SumOfSquares(x, high)); }

void MeanAndStdDev(const double* x, int32_t high, Extended& mean, Extended& std_dev) {
    if (high < 0) err::RaiseArgumentError("MeanAndStdDev");
    if (high == 0) {
        mean = x[0];
        // No deviation from a single value: its sum of squares, 0, over N - 1 = 0 signals the same
        // invalid operation (and leaves the same NaN) as StdDev of that list.
        Extended none = 0.0L;
        std_dev = x87::fsqrt(none / static_cast<Extended>(high));
        return;
    }
    mean = SumOf(x, high) / CountOf(high);
    Extended d = 0.0L;
    for (int32_t i = 0; i <= high; ++i) {
        Extended deviation = mean - x[i];
        d = d + deviation * deviation;
    }
    std_dev = x87::fsqrt(d / static_cast<Extended>(high));
}

Extended Poly(Extended x, const double* coefficients, int32_t high) {
    if (high < 0) err::RaiseArgumentError("Poly");
    Extended r = coefficients[high];
    for (int32_t i = high - 1; i >= 0; --i) r = (r * x) + coefficients[i];
    return r;
}

Extended UniformRandom() {
    RandomState = RandomState * kMultiplier + 1u;
    return static_cast<Extended>(RandomState) * kTwoToMinus32;
}

Extended RandG(Extended mean, Extended std_dev) {
    Extended u1, s;
    do {
        u1 = 2.0L * UniformRandom() - 1.0L;
        Extended u2 = 2.0L * UniformRandom() - 1.0L;
        s = u1 * u1 + u2 * u2;
    } while (s >= 1.0L);
    return ((x87::fsqrt((Ln(s) * -2.0L) / s) * u1) * std_dev) + mean;
}

}  // namespace rodived
