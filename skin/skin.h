// Dressing the window: deploy the carried skin engine and hand it one skin.
#pragma once

#include <cstdint>

#include "text/text.h"

// Skins are numbered 1 to 33; any other number hands the engine no skin.
void apply_skin(std::int32_t skin_number);

// The executable's folder without a trailing backslash, fixed at start.
Text run_directory();
// Fixes the run directory and makes it the current directory; once, at start.
void fix_run_directory();

// Writes SkinH_EL.dll from the carried image, hidden, when the run directory has
// nothing of that name; an existing file or folder is left as it is.
void ensure_skin_engine_library();
