// The chain's search must find exactly what Boost finds: these compare
// search_all with the plain Boost loop over many texts and pages, and show that
// a page of unclosed episode openings ends with the matches before it.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "pattern/literal_chain.h"
#include "pattern/regex.h"
#include "episodes/page_expressions.h"
#include "tests/pattern/plain_search.h"

namespace {

std::vector<PlainMatch> found_by_regex(const char* expression, const std::string& text) {
    regex compiled;
    EXPECT_TRUE(compiled.create(Text(expression)));
    Array<SearchResult> results = compiled.search_all(Text(text.c_str()));
    std::vector<PlainMatch> found;
    for (std::uint32_t i = 0; i < array_element_count(results); ++i) {
        const SearchResult& result = results[i];
        found.emplace_back(&result.record(0), &result.record(0) + result.record_count());
    }
    return found;
}

std::vector<PlainMatch> found_by_plain_loop(const char* expression, const std::string& text) {
    return plain_search_all(PlainEngine(expression), text.c_str(), static_cast<std::uint32_t>(text.size()));
}

}  // namespace

bool operator==(const SearchRecord& a, const SearchRecord& b) {
    return a.start == b.start && a.length == b.length && a.took_part == b.took_part;
}

void PrintTo(const SearchRecord& record, std::ostream* out) {
    *out << (record.took_part ? "" : "(no part)") << record.start << "+" << record.length;
}

TEST(LiteralChain, AppliesOnlyToRunsAndLazyGaps) {
    const char* const chains[] = {episode_expression,    title_expression, "a\\.b(.*?)c", ".*?x", "(.*?)", "",
                                  "x(.*?)(.*?)y\xB5\xDA"};
    for (const char* expression : chains)
        EXPECT_TRUE(LiteralChain::of(expression, std::strlen(expression)).applies()) << expression;
    const char* const others[] = {"a|b",  "a*",  "(a)", "\\<a",    "(.*?)+", "a{2}",
                                  "[ab]", "^a",  "a$",  "(?:.*?)", "(.*)",   "a.b",
                                  "a{",   "\\d", "a\\", ".*??",    "(.*?)?", "\\Qa"};
    for (const char* expression : others)
        EXPECT_FALSE(LiteralChain::of(expression, std::strlen(expression)).applies()) << expression;
}

// Short texts over the bytes the expressions are made of: every way for runs to
// overlap, repeat, be cut off or stand in the wrong order turns up.
TEST(ChainSearch, FindsWhatThePlainLoopFindsInShortTexts) {
    const char* const expressions[] = {
        "a(.*?)b",     "ab(.*?)a(.*?)b", "(.*?)b",          "a(.*?)",    "a.*?b.*?a",
        "\"(.*?)\">",  "a\\.(.*?)b",     "(.*?)",           "aa(.*?)aa", "a(.*?)(.*?)ba",
        "(.*?)(.*?)b", ".*?(.*?)a",      "a(.*?).*?b(.*?)", "",          "a|b(.*?)a",
        "b+(.*?)a"};
    const char alphabet[] = {'a', 'b', '.', '"', '>', '\n'};
    std::mt19937 random(5);
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 24, ' ');
        for (char& c : text) c = alphabet[random() % sizeof alphabet];
        for (const char* expression : expressions) {
            ASSERT_EQ(found_by_regex(expression, text), found_by_plain_loop(expression, text))
                << "expression " << expression << " text " << text;
        }
    }
}

namespace {

// A page assembled from pieces of play pages: whole episode elements, elements
// cut off anywhere, stray attribute tails, the title element, ordinary markup.
std::string random_play_page(std::mt19937& random) {
    const std::string element_head = "<div class=\"item\" name=\"tvlist\" flag=\"";
    auto number = [&] { return std::to_string(random() % 40); };
    std::string page = "<html><head><meta charset=\"gbk\">";
    const int pieces = static_cast<int>(random() % 60);
    for (int i = 0; i < pieces; ++i) {
        const std::string element = element_head + number() + "\" seq=\"" + number() + "\" id=\"item_X" +
                                    number() + "\" title=\"\xB5\xDA" + number() + "\xBC\xAF\">";
        switch (random() % 8) {
        case 0:
        case 1: page += element + "<a href=\"#\">" + number() + "</a></div>\n"; break;
        case 2: page += element.substr(0, random() % element.size()); break;
        case 3: page += "<meta name=\"title\" content=\"\xB2\xE2\xCA\xD4" + number() + "\">"; break;
        case 4: page += "\" seq=\"\" id=\"item_\" title=\"\xB5\xDA\xBC\xAF\">"; break;
        case 5:
            page +=
                "<div class=\"item\" name=\"tvlist\" flag=\"\" seq=\"\" id=\"item_\" "
                "title=\"\xB5\xDA\xBC\xAF\">";
            break;
        case 6: page += "\">\n"; break;
        default: page += "<li class=\"row\"><span title=\"x\">\xD6\xD0\xCE\xC4</span></li>\n"; break;
        }
    }
    return page + "</body></html>";
}

}  // namespace

TEST(ChainSearch, FindsWhatThePlainLoopFindsInPlayPages) {
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        const std::string page = random_play_page(random);
        for (const char* expression : {episode_expression, title_expression})
            ASSERT_EQ(found_by_regex(expression, page), found_by_plain_loop(expression, page)) << page;
    }
}

namespace {

std::string play_page_with_episodes(int count) {
    std::string page = "<html><body>\n";
    for (int i = 1; i <= count; ++i) {
        page += "<div class=\"item\" name=\"tvlist\" flag=\"0\" seq=\"" + std::to_string(i) +
                "\" id=\"item_XM" + std::to_string(i) + "\" title=\"\xB5\xDA" + std::to_string(i) +
                "\xBC\xAF\"></div>\n";
    }
    return page;
}

std::string repeated(const std::string& piece, std::size_t total_bytes) {
    std::string text;
    while (text.size() < total_bytes) text += piece;
    return text;
}

}  // namespace

// Left to Boost alone, this megabyte of unclosed openings costs seconds of
// backtracking before Boost's own limit stops it; the chain's scan finds no
// closing run after the third episode and ends.
TEST(ChainSearch, EndsAPageOfUnclosedOpeningsWithTheEpisodesBeforeIt) {
    const std::string episodes = play_page_with_episodes(3);
    const std::string page = episodes + repeated("<div class=\"item\" name=\"tvlist\" flag=\"", 1 << 20);
    const std::vector<PlainMatch> found = found_by_regex(episode_expression, page);
    EXPECT_EQ(found.size(), 3u);
    EXPECT_EQ(found, found_by_plain_loop(episode_expression, episodes));
}

// Openings that do find a closing part far away make one long match, as the
// plain loop makes it.
TEST(ChainSearch, KeepsTheLongMatchOfOpeningsClosedFarAway) {
    const std::string page = play_page_with_episodes(2) +
                             repeated("<div class=\"item\" name=\"tvlist\" flag=\"", 100000) +
                             play_page_with_episodes(2);
    const std::vector<PlainMatch> found = found_by_regex(episode_expression, page);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_GT(found[2][1].length, 100000);
    EXPECT_EQ(found, found_by_plain_loop(episode_expression, page));
}
