// x87 primitives: the only place in funcplug that writes floating-point assembly.
//
// Every routine of the kernel and of the number codec computes in the 80-bit extended format on the
// x87 unit, under whatever control word the calling thread has loaded. The functions here wrap one
// instruction each (a few wrap a short fixed sequence) so that kernels read like their algorithms.
// Stack effects are given as "in -> out" with st0 first.
//
// They compile for x86-64 and i686 with GCC or Clang. Long double is the extended format on both.
// The instructions that can signal a condition are volatile asm, so the compiler keeps them in
// program order: which condition surfaces first, and where, depends on that order.
#pragma once

#include <bit>
#include <cstdint>

namespace x87 {

using Extended = long double;

// ---- exact constants from their bit fields ------------------------------------------------------

namespace detail {
// Packed: 32-bit Windows aligns uint64_t to 8 in structures, while its 12-byte long double is not.
struct __attribute__((packed)) ExtendedBits {
    uint64_t significand;  // explicit integer bit in bit 63
    uint16_t sign_exponent;
    uint16_t padding[(sizeof(Extended) - 10) / 2];
};
static_assert(sizeof(ExtendedBits) == sizeof(Extended), "long double must be the x87 extended format");
}  // namespace detail

// The extended value with the given sign/exponent word and significand.
constexpr Extended FromBits(uint16_t sign_exponent, uint64_t significand) {
    return std::bit_cast<Extended>(detail::ExtendedBits{significand, sign_exponent, {}});
}
constexpr uint16_t SignExponentOf(Extended x) { return std::bit_cast<detail::ExtendedBits>(x).sign_exponent; }
constexpr uint64_t SignificandOf(Extended x) { return std::bit_cast<detail::ExtendedBits>(x).significand; }

// ---- arithmetic instructions --------------------------------------------------------------------

// fsqrt: x -> sqrt(x). Invalid operation for x < 0.
inline Extended fsqrt(Extended x) {
    Extended r;
    asm volatile("fsqrt" : "=t"(r) : "0"(x));
    return r;
}

// fabs: x -> |x| (clears the sign bit; never signals).
inline Extended fabs(Extended x) {
    Extended r;
    asm("fabs" : "=t"(r) : "0"(x));
    return r;
}

// frndint: x -> x rounded to an integral value under the rounding control in force.
inline Extended frndint(Extended x) {
    Extended r;
    asm volatile("frndint" : "=t"(r) : "0"(x));
    return r;
}

// fyl2x: x, y -> y * log2(x). Division by zero for x = 0, invalid operation for x < 0.
inline Extended fyl2x(Extended x, Extended y) {
    Extended r;
    asm volatile("fyl2x" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
    return r;
}

// fyl2xp1: x, y -> y * log2(x + 1), for |x| < 1 - sqrt(2)/2.
inline Extended fyl2xp1(Extended x, Extended y) {
    Extended r;
    asm volatile("fyl2xp1" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
    return r;
}

// f2xm1: x -> 2^x - 1, for -1 <= x <= 1.
inline Extended f2xm1(Extended x) {
    Extended r;
    asm volatile("f2xm1" : "=t"(r) : "0"(x));
    return r;
}

// fscale: x, n -> x * 2^trunc(n), n.
inline Extended fscale(Extended x, Extended n) {
    Extended r;
    asm volatile("fscale" : "=t"(r) : "0"(x), "u"(n));
    return r;
}

// fxtract: x -> significand (1 <= |s| < 2), exponent.
struct Extracted {
    Extended significand;
    Extended exponent;
};
inline Extracted fxtract(Extended x) {
    Extracted r;
    asm volatile("fxtract" : "=t"(r.significand), "=u"(r.exponent) : "0"(x));
    return r;
}

// fsincos: x -> cos(x), sin(x). Callers reject |x| >= 2^63 first: the unit leaves such an
// argument unreduced on the stack and pushes nothing.
struct SineCosine {
    Extended sine;
    Extended cosine;
};
inline SineCosine fsincos(Extended x) {
    SineCosine r;
    asm volatile("fsincos" : "=t"(r.cosine), "=u"(r.sine) : "0"(x));
    return r;
}

// fptan: x -> 1.0, tan(x). Same argument limit as fsincos.
struct PartialTangent {
    Extended tangent;
    Extended one;  // the 1.0 the instruction pushes above the tangent
};
inline PartialTangent fptan(Extended x) {
    PartialTangent r;
    asm volatile("fptan" : "=t"(r.one), "=u"(r.tangent) : "0"(x));
    return r;
}

// fpatan: x, y -> atan2(y, x), the quadrant taken from both signs.
inline Extended fpatan(Extended y, Extended x) {
    Extended r;
    asm volatile("fpatan" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
    return r;
}

// ---- built-in constants -------------------------------------------------------------------------

// fldln2: -> ln 2 (rounded by the unit under its rounding control).
inline Extended fldln2() {
    Extended r;
    asm("fldln2" : "=t"(r));
    return r;
}
// fldlg2: -> log10 2.
inline Extended fldlg2() {
    Extended r;
    asm("fldlg2" : "=t"(r));
    return r;
}
// fldl2e: -> log2 e.
inline Extended fldl2e() {
    Extended r;
    asm("fldl2e" : "=t"(r));
    return r;
}

// ---- conversions --------------------------------------------------------------------------------

// fistp (64-bit): x -> (popped); the integer nearest x under the rounding control in force.
// Out of range: invalid operation, and the integer indefinite 0x8000000000000000 where masked.
inline int64_t fistp64(Extended x) {
    int64_t r;
    asm volatile("fistpll %0\n\tfwait" : "=m"(r) : "t"(x) : "st");
    return r;
}

// fstp (64-bit float) then fwait: the one place where an extended value becomes a 64-bit float.
// The store rounds under the control word in force and signals overflow or underflow there; the
// fwait makes an unmasked condition surface here, not at some later instruction.
inline double StoreDouble(Extended x) {
    double d;
    asm volatile("fstpl %0\n\tfwait" : "=m"(d) : "t"(x) : "st");
    return d;
}

// x rounded to a 64-bit float and widened back (exact) to extended.
inline Extended RoundToDouble(Extended x) { return StoreDouble(x); }

// Signals the invalid-operation condition under the control word in force and yields its default
// NaN (the square root of -1).
inline Extended SignalInvalid() {
    Extended r;
    asm volatile("fld1\n\tfchs\n\tfsqrt\n\tfwait" : "=t"(r));
    return r;
}

// ---- control and status words -------------------------------------------------------------------

namespace cw {
constexpr uint16_t kMaskInvalid = 0x0001;
constexpr uint16_t kMaskDenormal = 0x0002;
constexpr uint16_t kMaskZeroDivide = 0x0004;
constexpr uint16_t kMaskOverflow = 0x0008;
constexpr uint16_t kMaskUnderflow = 0x0010;
constexpr uint16_t kMaskPrecision = 0x0020;
constexpr uint16_t kMaskAll = 0x003F;
constexpr uint16_t kPrecisionMask = 0x0300;
constexpr uint16_t kPrecision64 = 0x0300;
constexpr uint16_t kRoundingMask = 0x0C00;
constexpr uint16_t kRoundTowardZero = 0x0C00;
}  // namespace cw

// fnstcw: the control word in force.
inline uint16_t fnstcw() {
    uint16_t w;
    asm volatile("fnstcw %0" : "=m"(w));
    return w;
}
// fldcw: loads a control word. A flag already set and unmasked by the new word surfaces at the
// next waiting instruction.
inline void fldcw(uint16_t w) { asm volatile("fldcw %0" : : "m"(w) : "memory"); }
// fnstsw: the status word (exception flags in bits 0 to 5, stack fault in bit 6).
inline uint16_t fnstsw() {
    uint16_t w;
    asm volatile("fnstsw %0" : "=m"(w));
    return w;
}
// fnclex: clears the exception flags without waiting.
inline void fnclex() { asm volatile("fnclex" ::: "memory"); }
// fninit: resets the unit (control word 0x037F, empty stack, flags clear).
inline void fninit() { asm volatile("fninit" ::: "memory"); }
// fwait: surfaces any pending unmasked condition.
inline void fwait() { asm volatile("fwait" ::: "memory"); }

// Runs one instruction under a temporary word derived from the caller's: rounding toward zero,
// 64-bit precision, every condition masked. The caller's word is loaded again before the fwait,
// so a condition the instruction flagged surfaces under the caller's own masks, and only if they
// leave it unmasked.
inline uint16_t TowardZeroWord(uint16_t caller) {
    return static_cast<uint16_t>((caller & ~(cw::kRoundingMask | cw::kPrecisionMask)) | cw::kRoundTowardZero |
                                 cw::kPrecision64 | cw::kMaskAll);
}

// frndint toward zero: x -> trunc(x) as an extended value.
inline Extended TruncateToIntegral(Extended x) {
    uint16_t caller = fnstcw();
    uint16_t temporary = TowardZeroWord(caller);
    Extended r;
    asm volatile("fldcw %[temporary]\n\tfrndint\n\tfldcw %[caller]\n\tfwait"
                 : "=t"(r)
                 : "0"(x), [temporary] "m"(temporary), [caller] "m"(caller));
    return r;
}

// fistp (64-bit) toward zero: x -> trunc(x) as a 64-bit integer.
inline int64_t TruncateToInt64(Extended x) {
    uint16_t caller = fnstcw();
    uint16_t temporary = TowardZeroWord(caller);
    int64_t r;
    asm volatile("fldcw %[temporary]\n\tfistpll %[r]\n\tfldcw %[caller]\n\tfwait"
                 : [r] "=m"(r)
                 : "t"(x), [temporary] "m"(temporary), [caller] "m"(caller)
                 : "st");
    return r;
}

}  // namespace x87
