// Cutting "|"-separated fields off the front of a text.
#pragma once

#include <string_view>

namespace pfunc {

// The separator every export and list parser uses.
inline constexpr std::string_view kFieldSeparator = "|";

// Returns the characters of `s` before its first separator (any character of `separators`) and
// leaves in `s` what follows that separator; without one, the whole of `s` is the field and `s`
// becomes empty. So "5|" and "5" cut alike, "|4" gives an empty field, and "" stays "".
// The field views the same characters as `s`: nothing is copied.
std::string_view TakeField(std::string_view& s, std::string_view separators);

}  // namespace pfunc
