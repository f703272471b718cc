// One-call conversion through glibc's iconv, built without GNU libiconv's header.
#include "tests/fuzz/glibc_iconv.h"

#include <iconv.h>

bool glibc_convert(const std::string& input, const char* from, const char* to, std::string* output) {
    iconv_t descriptor = iconv_open(to, from);
    if (descriptor == reinterpret_cast<iconv_t>(-1)) return false;
    // No encoding used here takes more than four output bytes per input byte.
    std::string room(input.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t in_left = input.size();
    char* out = &room[0];
    std::size_t out_left = room.size();
    const bool converted = iconv(descriptor, &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1);
    iconv_close(descriptor);
    if (converted) output->assign(room.data(), room.size() - out_left);
    return converted;
}
