// The skin engine's file image and the 33 skins, carried inside the program
// (generated at build time by skin/carry_bytes.py) and never read from disk.
#pragma once

#include <cstdint>

constexpr std::int32_t skin_count = 33;

// Each is stored as a 32-bit 1, a 32-bit byte count, then the bytes.
extern const std::uint8_t* const skin_engine_image_stored;
extern const std::uint8_t* const skin_catalogue_stored[skin_count];

// A carried byte set, read where it is stored; copy it to hand it on.
struct CarriedBytes {
    const std::uint8_t* bytes;
    std::uint32_t count;
};

// The file image of the skin engine's library.
CarriedBytes skin_engine_image();
// Skin number 1 to skin_count.
CarriedBytes skin_catalogue(std::int32_t skin_number);
