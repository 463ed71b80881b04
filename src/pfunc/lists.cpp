#include "pfunc/lists.h"

#include "numtext/parse.h"
#include "pfunc/fields.h"

namespace pfunc {

void TextToDar(std::string_view text, dar& destination) {
    std::string_view rest = text;
    while (!rest.empty()) destination.Append(numtext::TextToFloat(TakeField(rest, kFieldSeparator)));
}

void TextToIdar(std::string_view text, idar& destination) {
    std::string_view rest = text;
    while (!rest.empty()) destination.Append(numtext::TextToInt(TakeField(rest, kFieldSeparator)));
}

void TextToVarr(std::string_view text, varr& destination) {
    std::string_view rest = text;
    destination.X = numtext::TextToFloat(TakeField(rest, kFieldSeparator));
    TextToDar(rest, destination.A);
}

}  // namespace pfunc
