// The line format of the episode list, stated once for both front ends.
#include "episodes/episode_list.h"

namespace {

// Bytes, like the expressions in page_expressions.h, so that no source or
// compiler character set can alter them.
const char line_start[] = "\xB5\xDA";   // 第
const char number_end[] = "\xBC\xAF$";  // 集$
const char line_end[] = "\r\n";

// Like join_text, but onto the end of `text` in place. The pieces' Texts live
// until this call returns, which a range-for over a braced list would not give.
void append_pieces(Text& text, std::initializer_list<TextPiece> pieces) {
    for (const TextPiece& piece : pieces) text.append(piece.bytes, piece.length);
}

}  // namespace

void append_episode_line(Text& list, std::int32_t position, const Text& video_id) {
    append_pieces(list, {line_start, text_of_int(position), number_end, video_id, line_end});
}
