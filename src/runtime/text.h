// The module's own texts (FileText, PathText): single-byte characters with a NUL behind the last
// one, in a block the text keeps and reuses. Cutting a field off the front moves the start
// instead of copying the rest, so cutting a whole text costs time linear in its length.
#pragma once

#include <cstddef>
#include <string_view>

namespace runtime {

class Text {
public:
    Text() = default;
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;

    std::string_view View() const { return {Chars(), length_}; }
    std::size_t Length() const { return length_; }
    bool Empty() const { return length_ == 0; }
    // The characters with their NUL; a static "" for the empty text. Valid until the text changes.
    const char* Chars() const { return length_ == 0 ? "" : storage_ + start_; }

    // Replaces the content with a copy of `chars` (which may point into this text). On false the
    // memory request could not be met and the text is unchanged. With `may_shrink`, a block far
    // larger than the new content is given back (the host's new argument is small); without it the
    // block is kept, so a result written into a huge argument's block leaves it ready for the
    // host's next huge argument instead of making it fault in fresh pages again.
    [[nodiscard]] bool Assign(const char* chars, std::size_t length, bool may_shrink = true);
    [[nodiscard]] bool Assign(std::string_view chars) { return Assign(chars.data(), chars.size()); }
    // Drops the first `count` characters.
    void DropFront(std::size_t count);
    // Releases the storage; the text is empty.
    void Release();

private:
    char* storage_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t start_ = 0;
    std::size_t length_ = 0;
};

}  // namespace runtime
