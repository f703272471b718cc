// Prints how fast the episode expression goes through a large play page, and
// how soon a hostile page of unclosed openings ends. Run by
// bench/pattern_bench.py, which makes the pages and times Python's re
// on the same page for comparison; not a test.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "pattern/regex.h"
#include "episodes/page_expressions.h"
#include "tests/pattern/plain_search.h"

namespace {

using Clock = std::chrono::steady_clock;

bool read_file(const char* path, std::string& bytes) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    char buffer[1 << 16];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
    std::fclose(file);
    return true;
}

template <class Search>
double seconds_of(Search&& search) {
    const Clock::time_point begin = Clock::now();
    search();
    return std::chrono::duration<double>(Clock::now() - begin).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Every key=value line is read back by the script.
void time_large_page(const std::string& page, int rounds) {
    regex expression;
    expression.create(Text(episode_expression));
    const Text text(page.c_str(), static_cast<std::uint32_t>(page.size()));
    const PlainEngine plain(episode_expression);

    std::vector<double> chained, unaided;
    std::uint32_t matches = 0;
    std::size_t plain_matches = 0;
    for (int round = 0; round < rounds; ++round) {
        chained.push_back(seconds_of([&] { matches = array_element_count(expression.search_all(text)); }));
        unaided.push_back(
            seconds_of([&] { plain_matches = plain_search_all(plain, page.c_str(), text.length()).size(); }));
    }
    std::printf("large_bytes=%zu\nlarge_matches=%u\nlarge_plain_matches=%zu\n", page.size(), matches,
                plain_matches);
    std::printf("large_seconds=%.6f\nlarge_best_seconds=%.6f\nlarge_plain_seconds=%.6f\n", median(chained),
                *std::min_element(chained.begin(), chained.end()), median(unaided));
}

void time_hostile_page(const char* name, const std::string& page, bool also_plain) {
    regex expression;
    expression.create(Text(episode_expression));
    const Text text(page.c_str(), static_cast<std::uint32_t>(page.size()));
    std::uint32_t matches = 0;
    const double seconds = seconds_of([&] { matches = array_element_count(expression.search_all(text)); });
    std::printf("%s_bytes=%zu\n%s_matches=%u\n%s_seconds=%.6f\n", name, page.size(), name, matches, name,
                seconds);
    if (!also_plain) return;
    const PlainEngine plain(episode_expression);
    std::size_t plain_matches = 0;
    const double plain_seconds =
        seconds_of([&] { plain_matches = plain_search_all(plain, page.c_str(), text.length()).size(); });
    std::printf("%s_plain_matches=%zu\n%s_plain_seconds=%.6f\n", name, plain_matches, name, plain_seconds);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: pattern_bench LARGE HOSTILE HOSTILE_CLOSED [ROUNDS] [--plain-hostile]\n");
        return 2;
    }
    std::string large, hostile, hostile_closed;
    if (!read_file(argv[1], large) || !read_file(argv[2], hostile) || !read_file(argv[3], hostile_closed)) {
        std::fprintf(stderr, "cannot read the pages\n");
        return 1;
    }
    const int rounds = argc > 4 && argv[4][0] != '-' ? std::max(1, std::atoi(argv[4])) : 15;
    const bool plain_hostile = std::strcmp(argv[argc - 1], "--plain-hostile") == 0;
    time_large_page(large, rounds);
    time_hostile_page("hostile", hostile, plain_hostile);
    time_hostile_page("closed", hostile_closed, true);
    return 0;
}
