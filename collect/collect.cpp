// The collect button: from a play-page address to the ready-to-paste episode list.
#include <utility>

#include "collect/commands.h"
#include "collect/controls.h"
#include "episodes/episode_list.h"
#include "episodes/page_expressions.h"
#include "net/http_get_body.h"
#include "pattern/regex.h"
#include "text/transcode.h"

namespace {

void add_group_items(ControlIdentity list_box, const Array<SearchResult>& results, const Text& page,
                     std::int32_t group) {
    // A page may hold tens of thousands of episodes: one scroll-bar update, not one per item.
    ListRedrawHold hold(list_box);
    const std::uint32_t count = array_element_count(results);
    for (std::uint32_t i = 0; i < count; ++i) add_item(list_box, submatch_text(results[i], page, group));
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
    add_group_items(role::flag_list, episodes, page, episode_flag_group);
    add_group_items(role::video_id_list, episodes, page, episode_video_id_group);

    expression.create(Text(title_expression));
    const Array<SearchResult> titles = expression.search_all(page);
    episodes = Array<SearchResult>();
    add_group_items(role::title_list, titles, page, title_group);

    // The identifiers are read back from the hidden list box: the window's working store.
    const Text list = episode_list(item_count(role::video_id_list),
                                   [](std::int32_t index) { return item_text(role::video_id_list, index); });
    write_text(role::result_box, list);
}
