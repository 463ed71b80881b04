// Number formatting: plain positional decimal, at most 15 significant digits, the point as the
// separator, never an exponent, no trailing zeros, "-" for negative values and "0" for zero.
#pragma once

#include <cstddef>
#include <cstdint>

namespace numtext {

// The longest text FloatToText writes: "-0." then 323 zeros then 15 digits, and its NUL.
constexpr std::size_t kFloatTextCapacity = 344;
constexpr std::size_t kIntTextCapacity = 12;

// Scales |v| by 10 one rounded extended step at a time until 15 digits stand before the point,
// rounds to an integer under the rounding control in force, and places the point. Examples:
// 1/3 -> "0.333333333333333", 2^53 -> "9007199254740990", 1e-7 -> "0.0000001",
// the largest float -> "179769313486232" and 294 zeros. A NaN compares equal to zero and gives
// "0"; the infinities give "INF" and "-INF". Writes the text and its NUL; returns the length.
std::size_t FloatToText(double v, char* out);

// "-2147483648" at the longest. Writes the text and its NUL; returns the length.
std::size_t IntToText(int32_t v, char* out);

}  // namespace numtext
