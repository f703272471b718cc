// The ready-to-paste episode list, one line per video identifier: 第, the
// position, 集$, the identifier, CR LF. The window builds it from its hidden
// list box, the command-line collector straight from the search results.
#pragma once

#include <cstdint>

#include "text/text.h"

// Onto the end of `list`, in place, so that a list of tens of thousands of
// lines is never copied again for every line.
void append_episode_line(Text& list, std::int32_t position, const Text& video_id);

// Numbered by position from 1, never by any number the page gives.
// video_id_at(index) gives the identifier at a 0-based index.
template <class VideoIdAt>
Text episode_list(std::int32_t count, VideoIdAt video_id_at) {
    Text list;
    for (std::int32_t i = 1; i <= count; ++i) append_episode_line(list, i, video_id_at(i - 1));
    return list;
}
