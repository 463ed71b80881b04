// The list types of the list exports and their parsers.
#pragma once

#include <cstdint>
#include <string_view>

#include "rodived/x87.h"
#include "runtime/list.h"

namespace pfunc {

using dar = runtime::List<double>;    // 64-bit floats
using idar = runtime::List<int32_t>;  // 32-bit signed integers

// An extended float X followed by a list A of 64-bit floats.
struct varr {
    uint64_t Leading = 0;  // carried ahead of X; nothing gives it a value or a use
    x87::Extended X = 0;
    dar A;
};

// One element per "|"-separated field, in text order: a trailing "|" adds no field, an empty
// field reads as 0, the empty text has no fields. The parsers append to the destination (empty in
// every use) and read `text` without changing it. Elements stored before an overflow in
// TextToFloat stay in the destination.
void TextToDar(std::string_view text, dar& destination);
void TextToIdar(std::string_view text, idar& destination);
// X from the first field (0 for the empty text), A from the fields after it.
void TextToVarr(std::string_view text, varr& destination);

}  // namespace pfunc
