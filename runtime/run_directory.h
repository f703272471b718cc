// The split of the executable's path behind run_directory, open to tests.
#pragma once

#include "text/text.h"

// What precedes the last backslash of a path in the ANSI code page, judged
// character by character so that a double-byte character whose second byte is
// 0x5C is never taken for a separator; empty when the path has no backslash.
Text directory_of_path(const char* path);
