// The run directory: the executable's folder, fixed once at start, where the skin
// engine is written and loaded from. Held in fixed buffers, off the heap, like
// the rest of runtime/: the fatal report must work when the heap does not.
#pragma once

#include <windows.h>

// A zero-terminated path of fewer than MAX_PATH bytes.
struct FixedPath {
    char bytes[MAX_PATH];
    const char* c_str() const noexcept { return bytes; }
};

// The executable's folder without a trailing backslash; empty before it is fixed.
const FixedPath& run_directory();
// Fixes the run directory and makes it the current directory; once, at start.
void fix_run_directory();

// What precedes the last backslash of a path (shorter than MAX_PATH, as
// GetModuleFileNameA gives it) in the ANSI code page, judged
// character by character so that a double-byte character whose second byte is
// 0x5C is never taken for a separator; empty when the path has no backslash.
FixedPath directory_of_path(const char* path);
