// The window's collection after the download, with the reason kept when a
// page gives no episode: the window shows an empty list, a script needs to know why.
#include "cli/collect_page.h"

#include "episodes/episode_list.h"
#include "episodes/page_expressions.h"
#include "pattern/regex.h"
#include "text/transcode.h"

namespace {

std::string bytes_of(std::uint32_t count) { return std::to_string(count) + " bytes"; }

}  // namespace

PageList collect_page(const Download& download) {
    PageList result;
    // A transfer cut short is not the page: a partial list would pass for a whole one.
    if (!download.failure.empty()) {
        result.failure = download.failure;
        return result;
    }
    bool converted = false;
    std::uint32_t failed_at = 0;
    const Text page = text_of_bytes(transcode(download.body, "UTF-8", "GBK", &converted, &failed_at));

    regex expression;
    expression.create(Text(episode_expression));
    const Array<SearchResult> episodes = expression.search_all(page);
    result.list = episode_list(
        static_cast<std::int32_t>(array_element_count(episodes)),
        [&](std::int32_t index) { return submatch_text(episodes[index], page, episode_video_id_group); });
    expression.create(Text(title_expression));
    const Array<SearchResult> titles = expression.search_all(page);
    if (array_element_count(titles) > 0) result.title = submatch_text(titles[0], page, title_group);

    if (!result.list.empty()) return result;
    const std::uint32_t size = download.body.size();
    if (download.status < 200 || download.status > 299) {
        result.failure = "HTTP status " + std::to_string(download.status) + ", " + bytes_of(size);
    } else if (!converted) {
        result.failure = "not convertible from UTF-8 to GBK at byte " + std::to_string(failed_at) + " of " +
                         bytes_of(size);
    } else {
        result.failure = "no episode element matched in " + bytes_of(size);
    }
    return result;
}
