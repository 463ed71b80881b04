// A growable list of trivially copyable elements in one block, grown by doubling. The export
// frame keeps one list of each kind for the whole session and empties it at the start of every
// call, so a call that is abandoned half-way (a fault unwinds without running destructors)
// leaves nothing behind: the next call reuses the block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "platform/platform.h"

namespace runtime {

// Ends a failed growth: raises the out-of-memory or range error as a module exception.
[[noreturn]] void ListGrowthFailed(bool size_overflow);

template <typename T>
class List {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    List() = default;
    List(const List&) = delete;
    List& operator=(const List&) = delete;

    const T* Data() const { return data_; }
    std::size_t Length() const { return length_; }
    // The highest index, -1 for the empty list: the form in which kernels take a list.
    int32_t High() const { return static_cast<int32_t>(length_) - 1; }
    const T& operator[](std::size_t i) const { return data_[i]; }

    void Clear() { length_ = 0; }
    void Append(T value) {
        if (length_ == capacity_) Grow();
        data_[length_++] = value;
    }
    void Release() {
        platform::Release(data_);
        data_ = nullptr;
        capacity_ = length_ = 0;
    }

private:
    void Grow() {
        // A kernel takes the highest index as a 32-bit integer.
        constexpr std::size_t kMaxLength = INT32_MAX;
        if (length_ >= kMaxLength) ListGrowthFailed(true);
        std::size_t capacity = capacity_ == 0 ? 16 : capacity_ * 2;
        if (capacity > kMaxLength) capacity = kMaxLength;
        void* block = platform::Reallocate(data_, capacity * sizeof(T));
        if (block == nullptr) ListGrowthFailed(false);
        data_ = static_cast<T*>(block);
        capacity_ = capacity;
    }

    T* data_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t length_ = 0;
};

}  // namespace runtime
