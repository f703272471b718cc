// The engine's skin file, little-endian, as engine/make_skins.py writes it: this
// header, then the skin's name ending with a zero byte, the file's last byte.
#pragma once

#include <windows.h>

#include <cstdint>

struct SkinFile {
    char magic[4];  // ".SHE"
    std::uint16_t version;
    std::uint16_t header_length;         // sizeof(SkinFile), so a different layout is refused
    std::uint32_t file_length;           // the whole file, so a cut file is refused
    COLORREF window_top, window_bottom;  // vertical gradient of top-level windows
    COLORREF label_back, label_text;     // labels, dialogs and static texts
    COLORREF button_top, button_bottom, button_text, button_border;
    COLORREF edit_back, edit_text;
    COLORREF list_back, list_text;
    COLORREF frame;            // drawn over the sunken edge of edit and list boxes
    COLORREF hatch;            // lines over the window gradient
    std::uint8_t hatch_style;  // 0 none, otherwise an HS_ style plus 1
    std::uint8_t button_radius;
    std::uint8_t frame_width;  // 0 keeps the classic sunken edge
    std::uint8_t reserved;
};
static_assert(sizeof(SkinFile) == 72, "the file layout is fixed");

constexpr std::uint16_t skin_file_version = 1;
