// The few file operations that deploying the skin engine needs.
#pragma once

#include <cstdint>

#include "text/text.h"

// True when anything answers to the path: a file of any attributes, or a folder.
bool file_exists(const Text& path);
// Creates or truncates the file and writes data whole; false on any failure,
// which may leave what was written so far (callers write under a scratch name).
bool write_file(const Text& path, const ByteSet& data);
// Only read-only, hidden, system and archive (0x27) are passed on.
bool set_file_attributes(const Text& path, std::uint32_t attributes);
