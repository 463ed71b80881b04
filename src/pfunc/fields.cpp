#include "pfunc/fields.h"

#include <cstring>

namespace pfunc {

std::string_view TakeField(std::string_view& s, std::string_view separators) {
    std::size_t p;
    if (separators.size() == 1) {
        const void* hit = std::memchr(s.data(), separators[0], s.size());
        p = hit == nullptr ? s.size() : static_cast<std::size_t>(static_cast<const char*>(hit) - s.data());
    } else {
        p = s.find_first_of(separators);
        if (p == std::string_view::npos) p = s.size();
    }
    std::string_view field = s.substr(0, p);
    s = p < s.size() ? s.substr(p + 1) : std::string_view();
    return field;
}

}  // namespace pfunc
