// Number parsing: text to 64-bit float and to 32-bit integer. Neither ever rejects a text; each
// reads what it recognises by fixed rules that the host sees in every result.
#pragma once

#include <cstdint>
#include <string_view>

namespace numtext {

// Digit-by-digit accumulation in binary floating point, rounded to a 64-bit float after every
// step, so the result can differ from the nearest float in the last bit (0.3 reads as
// 0.30000000000000004).
//  - Only a leading "-" makes the number negative (a blank before it cancels it); "+" is skipped.
//  - "." is the only decimal separator; a second one ends the number.
//  - "E"/"e" takes the rest of the text through TextToInt as a power of ten and ends the number.
//  - Every other byte (",", "|", blanks, letters, bytes 0x80-0xFF) is skipped: "1,5" reads as 15.
// Signals overflow (rounding to 64 bits, or IntPower's power of ten) under the control word in
// force; values below the normal range become subnormal or zero.
double TextToFloat(std::string_view text);

// Optional sign, then decimal digits up to the first non-digit; wraps modulo 2^32 without any
// overflow check ("4294967295" reads as -1). A leading blank stops the scan at once.
int32_t TextToInt(std::string_view text);

}  // namespace numtext
