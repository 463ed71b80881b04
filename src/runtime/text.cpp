#include "runtime/text.h"

#include <cstring>

#include "platform/platform.h"

namespace runtime {

namespace {
// A block larger than this and four times what it would hold is given back when a small text is
// assigned, so one huge argument does not pin its memory for the rest of the session.
constexpr std::size_t kKeepLimit = 1 << 16;
}  // namespace

bool Text::Assign(const char* chars, std::size_t length, bool may_shrink) {
    std::size_t needed = length + 1;
    bool fits = needed <= capacity_;
    bool oversized = may_shrink && capacity_ > kKeepLimit && needed * 4 < capacity_;
    if (fits && !oversized) {
        std::memmove(storage_, chars, length);  // chars may lie inside storage_
        storage_[length] = '\0';
        start_ = 0;
        length_ = length;
        return true;
    }
    char* block = static_cast<char*>(platform::Allocate(needed));
    if (block == nullptr) {
        if (!fits) return false;
        // Shrinking was only a courtesy: reuse the large block.
        std::memmove(storage_, chars, length);
        storage_[length] = '\0';
        start_ = 0;
        length_ = length;
        return true;
    }
    std::memcpy(block, chars, length);
    block[length] = '\0';
    platform::Release(storage_);  // the old value goes only once the new one is made
    storage_ = block;
    capacity_ = needed;
    start_ = 0;
    length_ = length;
    return true;
}

void Text::DropFront(std::size_t count) {
    if (count >= length_) count = length_;
    start_ += count;
    length_ -= count;
}

void Text::Release() {
    platform::Release(storage_);
    storage_ = nullptr;
    capacity_ = start_ = length_ = 0;
}

}  // namespace runtime
