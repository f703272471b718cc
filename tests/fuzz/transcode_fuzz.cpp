// transcode (over GNU libiconv) against glibc's iconv: a failure gives nothing,
// and where glibc converts, transcode converts too, to the same bytes. The
// first input byte picks the pair of encodings: the page's UTF-8 to GBK, and
// conversions that grow, so that the enlarging loop runs several times.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/fuzz/glibc_iconv.h"
#include "text/transcode.h"

namespace {

// No UCS-4 target: glibc's UTF-8 reader then takes sequences past U+10FFFF
// (F6 A9 A9 A8 gives 0x1A9A68) that GNU libiconv rightly refuses.
const struct {
    const char* from;
    const char* to;
} pairs[] = {{"UTF-8", "GBK"}, {"GBK", "UTF-8"}, {"UTF-8", "UTF-16LE"}, {"GBK", "UTF-16LE"}};

// The one code where the two GBK tables differ (every byte pair and every code
// point compared): glibc's GBK has CP936's euro at 0x80, GNU libiconv's has not.
bool holds_the_euro(const char* encoding, const std::string& input) {
    if (std::string(encoding) != "GBK") return input.find("\xE2\x82\xAC") != std::string::npos;
    for (std::size_t at = 0; at < input.size();) {
        const unsigned char byte = static_cast<unsigned char>(input[at]);
        if (byte == 0x80) return true;
        at += byte > 0x80 && byte < 0xFF ? 2 : 1;
    }
    return false;
}

void print_bytes(const char* whose, const std::string& bytes) {
    std::fprintf(stderr, "%s (%zu bytes):", whose, bytes.size());
    for (unsigned char byte : bytes) std::fprintf(stderr, " %02X", byte);
    std::fprintf(stderr, "\n");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto& pair = pairs[data[0] % (sizeof pairs / sizeof pairs[0])];
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);

    bool succeeded = false;
    const ByteSet converted = transcode(ByteSet(input.data(), static_cast<std::uint32_t>(input.size())),
                                        pair.from, pair.to, &succeeded);
    const std::string output(reinterpret_cast<const char*>(converted.data()), converted.size());
    if (!succeeded && !output.empty()) {
        print_bytes("a failed conversion still gave", output);
        std::abort();
    }

    std::string reference;
    const bool reference_succeeded = glibc_convert(input, pair.from, pair.to, &reference);
    if (holds_the_euro(pair.from, input)) return 0;
    if (succeeded == reference_succeeded && output == reference) return 0;
    std::fprintf(stderr, "%s to %s: transcode %s, glibc %s\n", pair.from, pair.to,
                 succeeded ? "converted" : "failed", reference_succeeded ? "converted" : "failed");
    print_bytes("input", input);
    print_bytes("transcode", output);
    print_bytes("glibc", reference);
    std::abort();
}
