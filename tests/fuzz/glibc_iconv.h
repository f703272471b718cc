// glibc's own iconv, the reference the transcode fuzz target holds GNU libiconv
// against. Its own file: GNU libiconv's header renames iconv_open and its kin,
// so nothing that sees that header may call glibc's.
#pragma once

#include <string>

// The whole input converted in one call into room for any output; false when
// glibc refuses the names or the input.
bool glibc_convert(const std::string& input, const char* from, const char* to, std::string* output);
