// The collect button: from a play-page address to the ready-to-paste episode list.
#include <utility>

#include "collect/commands.h"
#include "collect/controls.h"
#include "collect/page_expressions.h"
#include "net/http_get_body.h"
#include "pattern/regex.h"
#include "text/transcode.h"

namespace {

// Bytes for the same reason as the expressions.
const char line_start[] = "\xB5\xDA";   // 第
const char number_end[] = "\xBC\xAF$";  // 集$
const char line_end[] = "\r\n";

constexpr std::int32_t flag_group = 1;
constexpr std::int32_t video_id_group = 3;
constexpr std::int32_t title_group = 1;

void add_group_items(ControlIdentity list_box, const Array<SearchResult>& results, const Text& page,
                     std::int32_t group) {
    // A page may hold tens of thousands of episodes: one scroll-bar update, not one per item.
    ListRedrawHold hold(list_box);
    const std::uint32_t count = array_element_count(results);
    for (std::uint32_t i = 0; i < count; ++i) add_item(list_box, submatch_text(results[i], page, group));
}

// Like join_text, but onto the end of `text` in place.
void append_pieces(Text& text, std::initializer_list<TextPiece> pieces) {
    for (const TextPiece& piece : pieces) text.append(piece.bytes, piece.length);
}

// One line per identifier, numbered by position. Grown in place so that the
// list is not copied again for every line.
Text episode_list(ControlIdentity video_ids) {
    Text list;
    const std::int32_t count = item_count(video_ids);
    for (std::int32_t i = 1; i <= count; ++i)
        append_pieces(list, {line_start, text_of_int(i), number_end, item_text(video_ids, i - 1), line_end});
    return list;
}

}  // namespace

void collect() {
    regex expression;
    clear_items(role::title_list);
    clear_items(role::video_id_list);
    clear_items(role::flag_list);
    write_text(role::result_box, Text());

    const Text address = read_text(role::address_box);
    // Failures come back empty and flow on: a failed run leaves every list empty.
    ByteSet bytes = http_get_body(address);
    bytes = transcode(bytes, "UTF-8", "GBK");           // the downloaded bytes are released here
    const Text page = text_of_bytes(std::move(bytes));  // made in the converted block

    expression.create(Text(episode_expression));
    Array<SearchResult> episodes = expression.search_all(page);
    add_group_items(role::flag_list, episodes, page, flag_group);
    add_group_items(role::video_id_list, episodes, page, video_id_group);

    expression.create(Text(title_expression));
    const Array<SearchResult> titles = expression.search_all(page);
    episodes = Array<SearchResult>();
    add_group_items(role::title_list, titles, page, title_group);

    write_text(role::result_box, episode_list(role::video_id_list));
}
