// Dressing the window: deploy the carried skin engine and hand it one skin.
#pragma once

#include <cstdint>

// Skins are numbered 1 to 33; any other number hands the engine no skin.
void apply_skin(std::int32_t skin_number);

// Writes the skin engine's library from the carried image, hidden, when the run
// directory has nothing of that name; an existing file or folder is left as it is.
void ensure_skin_engine_library();
