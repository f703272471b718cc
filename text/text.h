// Text, Byte set and Array: the values that the commands pass around. Each owns
// its bytes on the heap (text/heap.h) and releases them on every path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <new>
#include <utility>

#include "text/heap.h"

class ByteSet;

// GBK bytes without a zero byte, kept with one terminating zero. Default-made
// and moved-from Texts are the empty Text; c_str() is never null.
class Text {
public:
    Text() noexcept = default;
    explicit Text(const char* zero_terminated);
    // Keeps the bytes before the first zero byte among the count given.
    Text(const char* bytes, std::uint32_t count);
    Text(const Text& other);
    Text(Text&& other) noexcept;
    Text& operator=(Text other) noexcept;
    ~Text();

    const char* c_str() const noexcept { return bytes_ ? bytes_ : ""; }
    std::uint32_t length() const noexcept { return length_; }
    bool empty() const noexcept { return length_ == 0; }

    // Grows in place with spare room, so a Text built line by line stays linear.
    // Stops at a zero byte among the count given, as the constructor does.
    void append(const char* bytes, std::uint32_t count);
    void reserve(std::uint32_t length);

    friend void swap(Text& a, Text& b) noexcept;
    friend Text text_of_bytes(ByteSet&& data);

private:
    char* bytes_ = nullptr;
    std::uint32_t length_ = 0;
    std::uint32_t capacity_ = 0;  // bytes usable before the terminating zero
};

// Any run of bytes, zero bytes included, with a 32-bit count.
class ByteSet {
public:
    ByteSet() noexcept = default;
    ByteSet(const void* bytes, std::uint32_t count);
    ByteSet(const ByteSet& other);
    ByteSet(ByteSet&& other) noexcept;
    ByteSet& operator=(ByteSet other) noexcept;
    ~ByteSet();

    const std::uint8_t* data() const noexcept { return bytes_; }
    std::uint32_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }

    // Appends with spare room; false (and nothing changed) when the heap cannot
    // give the room, so a reader can stop with what it has instead of dying.
    bool try_append(const void* bytes, std::uint32_t count) noexcept;
    // Room for this many bytes in all, ahead of appends whose total is known;
    // false (and nothing changed) when the heap cannot give it.
    bool try_reserve(std::uint32_t capacity) noexcept;
    // Gives back the spare room past `spare` bytes once nothing more will be
    // appended; one spare byte lets text_of_bytes make a Text in the same block.
    void shrink_to_fit(std::uint32_t spare = 0) noexcept;

    // The room past the bytes held, for a producer that writes in place (a
    // conversion, a socket read) instead of into a buffer of its own and then
    // copying; commit() takes in the bytes it wrote there.
    std::uint8_t* spare_room() noexcept { return bytes_ + size_; }
    std::uint32_t spare_size() const noexcept { return capacity_ - size_; }
    void commit(std::uint32_t count) noexcept { size_ += count; }  // at most spare_size()

    friend void swap(ByteSet& a, ByteSet& b) noexcept;
    friend Text text_of_bytes(ByteSet&& data);

private:
    std::uint8_t* bytes_ = nullptr;
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = 0;
};

// The counted result of a search over all matches: dimension sizes, then the
// elements. What this program makes has one dimension, or none when empty.
template <class Element>
class Array {
public:
    Array() noexcept = default;
    Array(const Array&) = delete;
    Array& operator=(const Array&) = delete;
    Array(Array&& other) noexcept { swap(other); }
    Array& operator=(Array&& other) noexcept {
        Array(std::move(other)).swap(*this);
        return *this;
    }
    ~Array() {
        for (std::uint32_t i = 0; i < count_; ++i) elements_[i].~Element();
        heap_free(elements_);
    }

    std::uint32_t dimension_count() const noexcept { return count_ ? 1 : 0; }
    std::uint32_t dimension_size(std::uint32_t) const noexcept { return count_; }
    Element& operator[](std::uint32_t i) noexcept { return elements_[i]; }
    const Element& operator[](std::uint32_t i) const noexcept { return elements_[i]; }

    void push_back(Element&& element) {
        if (count_ == capacity_) grow();
        new (&elements_[count_]) Element(std::move(element));
        ++count_;
    }

    void swap(Array& other) noexcept {
        std::swap(elements_, other.elements_);
        std::swap(count_, other.count_);
        std::swap(capacity_, other.capacity_);
    }

private:
    void grow() {
        std::uint32_t capacity = capacity_ ? capacity_ * 2 : 16;
        auto* fresh = static_cast<Element*>(heap_alloc(sizeof(Element) * capacity));
        for (std::uint32_t i = 0; i < count_; ++i) {
            new (&fresh[i]) Element(std::move(elements_[i]));
            elements_[i].~Element();
        }
        heap_free(elements_);
        elements_ = fresh;
        capacity_ = capacity;
    }

    Element* elements_ = nullptr;
    std::uint32_t count_ = 0;
    std::uint32_t capacity_ = 0;
};

template <class Element>
std::uint32_t array_element_count(const Array<Element>& array) noexcept {
    std::uint32_t count = array.dimension_count() ? 1 : 0;
    for (std::uint32_t d = 0; d < array.dimension_count(); ++d) count *= array.dimension_size(d);
    return count;
}

std::uint32_t byte_set_size(const ByteSet& data) noexcept;
Text text_of_bytes(const ByteSet& data);
// The same Text, made in the Byte set's own block when it has a spare byte for
// the terminating zero (transcode leaves one): a page is not copied again.
Text text_of_bytes(ByteSet&& data);
Text text_of_int(std::int32_t value);
// One piece of join_text: a Text or a zero-terminated literal (null adds nothing).
struct TextPiece {
    TextPiece(const Text& text) noexcept : bytes(text.c_str()), length(text.length()) {}
    TextPiece(const char* zero_terminated) noexcept;
    const char* bytes;
    std::uint32_t length;
};

// Any number of pieces, in order, into a new Text; an empty piece adds nothing.
Text join_text(std::initializer_list<TextPiece> pieces);
