// What the collection recognises in a play page: the episode elements and the
// series title. GBK bytes, matched byte by byte. The window and the command-line
// collector both search with these.
#pragma once

#include <cstdint>

// Written as bytes (第 = B5 DA, 集 = BC AF) so that no change of this file's own
// encoding or of the compiler's character set can alter what is matched.
// Groups: 1 flag, 2 seq, 3 video identifier, 4 episode label.
inline constexpr char episode_expression[] =
    "<div class=\"item\" name=\"tvlist\" flag=\"(.*?)\" seq=\"(.*?)\" id=\"item_(.*?)\" "
    "title=\"\xB5\xDA(.*?)\xBC\xAF\">";
inline constexpr std::int32_t episode_flag_group = 1;
inline constexpr std::int32_t episode_video_id_group = 3;

inline constexpr char title_expression[] = "<meta name=\"title\" content=\"(.*?)\">";
inline constexpr std::int32_t title_group = 1;
