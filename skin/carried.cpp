// Reads the carried byte sets in their stored form: 1, count, bytes.
#include "skin/carried.h"

#include <cstring>

namespace {
CarriedBytes read_stored(const std::uint8_t* stored) {
    std::uint32_t count;
    std::memcpy(&count, stored + 4, sizeof count);  // the target is little-endian, as stored
    return {stored + 8, count};
}
}  // namespace

CarriedBytes skin_engine_image() { return read_stored(skin_engine_image_stored); }

CarriedBytes skin_catalogue(std::int32_t skin_number) {
    return read_stored(skin_catalogue_stored[skin_number - 1]);
}
