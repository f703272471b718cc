// Dressing the window: deploy the carried skin engine and hand it one skin.
#include "skin/skin.h"

void apply_skin(std::int32_t) {}
