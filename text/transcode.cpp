// Encoding conversion over GNU libiconv: one growing output block that becomes
// the result, all or nothing, so a page either arrives whole in the target
// encoding or not at all.
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

    const std::uint32_t input_length = data.size();
    const std::uint32_t step = input_length / 2 + 128;
    // The output is made in place in the result: UTF-8 into GBK never needs more
    // bytes than it had, so its whole output fits the first block in one call,
    // and the byte past the input's length is the one a Text adds (text_of_bytes).
    ByteSet converted;
    if (!converted.try_reserve(input_length < UINT32_MAX ? input_length + 1 : input_length)) return ByteSet();

    const char* const input_start = reinterpret_cast<const char*>(data.data());
    InputPosition input(input_start);
    auto fail_here = [&] {
        if (failed_at) *failed_at = static_cast<std::uint32_t>(input.get() - input_start);
        return ByteSet();
    };
    std::size_t input_left = input_length;
    for (int call = 1;; ++call) {
        char* output_position = reinterpret_cast<char*>(converted.spare_room());
        std::size_t room_left = converted.spare_size();
        const std::size_t result = iconv(descriptor.get(), input, &input_left, &output_position, &room_left);
        converted.commit(static_cast<std::uint32_t>(converted.spare_size() - room_left));
        if (result != static_cast<std::size_t>(-1)) break;
        // EILSEQ (invalid or unrepresentable) and EINVAL (cut off at the end)
        // end the conversion with nothing; only a full block is worth another call.
        if (errno != E2BIG || call == most_iconv_calls) return fail_here();
        const std::uint32_t capacity = converted.size() + converted.spare_size();
        if (capacity > UINT32_MAX - step || !converted.try_reserve(capacity + step)) return fail_here();
    }
    // No flushing call: a stateful target gets no closing shift sequence.

    converted.shrink_to_fit(1);
    if (succeeded) *succeeded = true;
    return converted;
}
