// The value types and their small operations; portable, heap through text/heap.h.
#include "text/text.h"

#include <cstdio>
#include <cstring>

namespace {

std::uint32_t length_before_zero(const char* bytes, std::uint32_t count) noexcept {
    if (!bytes) return 0;
    const void* zero = std::memchr(bytes, 0, count);
    return zero ? static_cast<std::uint32_t>(static_cast<const char*>(zero) - bytes) : count;
}

// Where `bytes` lies inside [block, block + size), or -1 when outside: a value
// may be appended to itself, and its bytes move when it grows.
std::int64_t offset_inside(const void* bytes, const void* block, std::uint32_t size) noexcept {
    auto at = reinterpret_cast<std::uintptr_t>(bytes), start = reinterpret_cast<std::uintptr_t>(block);
    return block && at >= start && at - start < size ? std::int64_t(at - start) : -1;
}

// Room for at least `needed`, doubling so that repeated appends stay linear.
std::uint32_t grown_capacity(std::uint32_t capacity, std::uint32_t needed) noexcept {
    std::uint64_t grown = capacity < 16 ? 16 : std::uint64_t(capacity) * 2;
    if (grown < needed) grown = needed;
    if (grown > 0xFFFFFFF0u) grown = needed;
    return static_cast<std::uint32_t>(grown);
}

}  // namespace

Text::Text(const char* zero_terminated)
    : Text(zero_terminated, zero_terminated ? std::uint32_t(std::strlen(zero_terminated)) : 0) {}

Text::Text(const char* bytes, std::uint32_t count) { append(bytes, count); }

Text::Text(const Text& other) { append(other.c_str(), other.length()); }

Text::Text(Text&& other) noexcept { swap(*this, other); }

Text& Text::operator=(Text other) noexcept {
    swap(*this, other);
    return *this;
}

Text::~Text() { heap_free(bytes_); }

void Text::append(const char* bytes, std::uint32_t count) {
    count = length_before_zero(bytes, count);
    if (count == 0) return;
    // A Text longer than 32 bits can count is a request no heap can meet.
    if (count > 0xFFFFFFFEu - length_) heap_exhausted(std::size_t(-1));
    std::uint32_t needed = length_ + count;
    if (needed > capacity_ || !bytes_) {
        const std::int64_t own = offset_inside(bytes, bytes_, length_);
        reserve(grown_capacity(capacity_, needed));
        if (own >= 0) bytes = bytes_ + own;
    }
    std::memcpy(bytes_ + length_, bytes, count);
    length_ = needed;
    bytes_[length_] = 0;
}

void Text::reserve(std::uint32_t length) {
    if (bytes_ && length <= capacity_) return;
    if (length == 0xFFFFFFFFu) heap_exhausted(std::size_t(-1));  // no room left for the zero
    bytes_ = static_cast<char*>(heap_realloc(bytes_, std::size_t(length) + 1));
    bytes_[length_] = 0;
    capacity_ = length;
}

void swap(Text& a, Text& b) noexcept {
    std::swap(a.bytes_, b.bytes_);
    std::swap(a.length_, b.length_);
    std::swap(a.capacity_, b.capacity_);
}

ByteSet::ByteSet(const void* bytes, std::uint32_t count) {
    if (count == 0 || !bytes) return;
    bytes_ = static_cast<std::uint8_t*>(heap_alloc(count));
    std::memcpy(bytes_, bytes, count);
    size_ = capacity_ = count;
}

ByteSet::ByteSet(const ByteSet& other) : ByteSet(other.bytes_, other.size_) {}

ByteSet::ByteSet(ByteSet&& other) noexcept { swap(*this, other); }

ByteSet& ByteSet::operator=(ByteSet other) noexcept {
    swap(*this, other);
    return *this;
}

ByteSet::~ByteSet() { heap_free(bytes_); }

bool ByteSet::try_append(const void* bytes, std::uint32_t count) noexcept {
    if (count == 0) return true;
    if (count > 0xFFFFFFFFu - size_) return false;
    std::uint32_t needed = size_ + count;
    if (needed > capacity_) {
        const std::int64_t own = offset_inside(bytes, bytes_, size_);
        std::uint32_t capacity = grown_capacity(capacity_, needed);
        void* grown = heap_try_realloc(bytes_, capacity);
        if (!grown && capacity > needed) grown = heap_try_realloc(bytes_, capacity = needed);
        if (!grown) return false;
        bytes_ = static_cast<std::uint8_t*>(grown);
        capacity_ = capacity;
        if (own >= 0) bytes = bytes_ + own;
    }
    std::memcpy(bytes_ + size_, bytes, count);
    size_ = needed;
    return true;
}

bool ByteSet::try_reserve(std::uint32_t capacity) noexcept {
    if (capacity <= capacity_) return true;
    void* grown = heap_try_realloc(bytes_, capacity);
    if (!grown) return false;
    bytes_ = static_cast<std::uint8_t*>(grown);
    capacity_ = capacity;
    return true;
}

void ByteSet::shrink_to_fit(std::uint32_t spare) noexcept {
    if (size_ == 0) {
        heap_free(bytes_);
        bytes_ = nullptr;
        capacity_ = 0;
        return;
    }
    if (spare > 0xFFFFFFFFu - size_) spare = 0xFFFFFFFFu - size_;
    const std::uint32_t capacity = size_ + spare;
    if (capacity >= capacity_) return;
    // A smaller size keeps the block where it is on every heap in use.
    if (void* shrunk = heap_try_realloc(bytes_, capacity)) {
        bytes_ = static_cast<std::uint8_t*>(shrunk);
        capacity_ = capacity;
    }
}

void swap(ByteSet& a, ByteSet& b) noexcept {
    std::swap(a.bytes_, b.bytes_);
    std::swap(a.size_, b.size_);
    std::swap(a.capacity_, b.capacity_);
}

TextPiece::TextPiece(const char* zero_terminated) noexcept
    : bytes(zero_terminated ? zero_terminated : ""),
      length(zero_terminated ? std::uint32_t(std::strlen(zero_terminated)) : 0) {}

std::uint32_t byte_set_size(const ByteSet& data) noexcept { return data.size(); }

Text text_of_bytes(const ByteSet& data) {
    return Text(reinterpret_cast<const char*>(data.data()), data.size());
}

Text text_of_bytes(ByteSet&& data) {
    if (data.spare_size() == 0) return text_of_bytes(static_cast<const ByteSet&>(data));
    Text text;
    char* bytes = reinterpret_cast<char*>(data.bytes_);
    const std::uint32_t length = length_before_zero(bytes, data.size_);
    if (length == 0) return text;
    bytes[length] = 0;
    text.bytes_ = bytes;
    text.length_ = length;
    text.capacity_ = data.capacity_ - 1;
    data.bytes_ = nullptr;
    data.size_ = data.capacity_ = 0;
    return text;
}

Text text_of_int(std::int32_t value) {
    char digits[16];
    int length = std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
    return Text(digits, static_cast<std::uint32_t>(length));
}

Text join_text(std::initializer_list<TextPiece> pieces) {
    std::uint64_t total = 0;
    for (const TextPiece& piece : pieces) total += piece.length;
    Text joined;
    if (total) joined.reserve(static_cast<std::uint32_t>(total));
    for (const TextPiece& piece : pieces) joined.append(piece.bytes, piece.length);
    return joined;
}
