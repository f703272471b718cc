// Encoding conversion over GNU libiconv: one growing output block, all or
// nothing, so a page either arrives whole in the target encoding or not at all.
#include "text/transcode.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace {

// Past this many calls a conversion that still wants room counts as failed.
constexpr int most_iconv_calls = 12;

// Closes the descriptor on every way out of a conversion.
class ConversionDescriptor {
public:
    ConversionDescriptor(const char* to, const char* from) noexcept
        : descriptor_(iconv_open(to ? to : "", from ? from : "")) {}
    ~ConversionDescriptor() {
        if (opened()) iconv_close(descriptor_);
    }
    ConversionDescriptor(const ConversionDescriptor&) = delete;
    ConversionDescriptor& operator=(const ConversionDescriptor&) = delete;

    bool opened() const noexcept { return descriptor_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const noexcept { return descriptor_; }

private:
    iconv_t descriptor_;
};

// The call's own output block: only ever grown, always released.
class OutputBuffer {
public:
    OutputBuffer() noexcept = default;
    ~OutputBuffer() { heap_free(bytes_); }
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    // False when the heap cannot give the room; the bytes held stay as they were.
    bool grow_to(std::size_t capacity) noexcept {
        void* grown = heap_try_realloc(bytes_, capacity);
        if (!grown) return false;
        bytes_ = static_cast<char*>(grown);
        capacity_ = capacity;
        return true;
    }
    char* data() const noexcept { return bytes_; }
    std::size_t capacity() const noexcept { return capacity_; }

private:
    char* bytes_ = nullptr;
    std::size_t capacity_ = 0;
};

// libiconv 1.14 declares the input as const char**, glibc as char**; this
// converts to whichever the library in use wants.
class InputPosition {
public:
    explicit InputPosition(const char* position) noexcept : position_(position) {}
    operator const char**() noexcept { return &position_; }
    operator char**() noexcept { return const_cast<char**>(&position_); }
    const char* get() const noexcept { return position_; }

private:
    const char* position_;
};

}  // namespace

ByteSet transcode(const ByteSet& data, const char* from, const char* to, bool* succeeded,
                  std::uint32_t* failed_at) {
    if (succeeded) *succeeded = false;
    if (failed_at) *failed_at = 0;
    ConversionDescriptor descriptor(to, from);
    if (!descriptor.opened()) return ByteSet();
    if (data.empty()) {
        if (succeeded) *succeeded = true;
        return ByteSet();
    }

    const std::size_t input_length = data.size();
    const std::size_t step = input_length / 2 + 128;
    OutputBuffer output;
    if (!output.grow_to(input_length)) return ByteSet();

    const char* const input_start = reinterpret_cast<const char*>(data.data());
    InputPosition input(input_start);
    auto fail_here = [&] {
        if (failed_at) *failed_at = static_cast<std::uint32_t>(input.get() - input_start);
        return ByteSet();
    };
    std::size_t input_left = input_length;
    char* output_position = output.data();
    std::size_t room_left = output.capacity();
    for (int call = 1;; ++call) {
        if (iconv(descriptor.get(), input, &input_left, &output_position, &room_left) !=
            static_cast<std::size_t>(-1))
            break;
        // EILSEQ (invalid or unrepresentable) and EINVAL (cut off at the end)
        // end the conversion with nothing; only a full buffer is worth another call.
        if (errno != E2BIG || call == most_iconv_calls) return fail_here();
        const std::size_t produced = output.capacity() - room_left;
        if (output.capacity() > UINT32_MAX - step || !output.grow_to(output.capacity() + step))
            return fail_here();
        output_position = output.data() + produced;
        room_left += step;
    }
    // No flushing call: a stateful target gets no closing shift sequence.

    const std::size_t produced = output.capacity() - room_left;
    ByteSet converted(output.data(), static_cast<std::uint32_t>(produced));
    if (succeeded) *succeeded = true;
    return converted;
}
