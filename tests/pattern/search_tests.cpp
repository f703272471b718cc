// regex, SearchResult and submatch_text as the collection uses them: what each
// search finds, where, and what survives a bad expression or a dead regex.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "pattern/regex.h"
#include "episodes/page_expressions.h"

namespace {

struct Span {
    std::int32_t start;
    std::int32_t length;
};

struct SearchCase {
    const char* name;
    const char* expression;
    const char* text;
    std::vector<Span> matches;  // record 0 of each result
    std::vector<Span> group1;   // record 1 of each result, when the case shows it
    bool case_sensitive = true;
};

const SearchCase search_cases[] = {
    {"matches never overlap", "aa", "aaaa", {{0, 2}, {2, 2}}, {}},
    {"a leftover shorter than the expression", "aa", "aaa", {{0, 2}}, {}},
    {"^ holds where each search starts", "^a", "aaa", {{0, 1}, {1, 1}, {2, 1}}, {}},
    {"look-behind sees nothing before the search start", "(?<=a)a", "aaa", {{1, 1}}, {}},
    {"dot takes a line break", "a.b", "xa\nb", {{1, 3}}, {}},
    {"lazy group ends at the first quote before >",
     title_expression,
     "<meta name=\"title\" content=\"A\" x\">B\">",
     {{0, 34}},
     {{28, 4}}},
    {"GBK characters count two bytes",
     "\xB5\xDA(.*?)\xBC\xAF",
     "ab\xB5\xDA\xD2\xBB\xBC\xAF",
     {{2, 6}},
     {{4, 2}}},
    {"bytes, not characters: a match may start on a trail byte",
     "\xDA\xD2",
     "\xB5\xDA\xD2\xBB",
     {{1, 2}},
     {}},
    {"an empty group keeps its offset", "id=\"(.*?)\"", "<a id=\"\">", {{3, 5}}, {{7, 0}}},
    {"case kept: div is not DIV", "<div>", "<DIV>", {}, {}},
    {"case ignored: div is DIV", "<div>", "<DIV>", {{0, 5}}, {}, false},
    {"an empty text", "x*", "", {}, {}},
    {"no match", "b", "aaa", {}, {}},
    {"an empty match ends the search", "x*", "xxab", {{0, 2}, {2, 0}}, {}},
    {"an empty match at the start", "x*", "ab", {{0, 0}}, {}},
    {"an empty expression matches once, empty", "", "ab", {{0, 0}}, {}},
    // The third search exceeds Boost's work limit in the run of a's and throws.
    {"Boost gives up mid-search: the matches before stay",
     "(a+)+b",
     "ab ab aaaaaaaaaaaaaaaaaaaaaaaaaaaa",
     {{0, 2}, {3, 2}},
     {{0, 1}, {3, 1}}},
};

std::vector<Span> spans_of(const Array<SearchResult>& results, std::uint32_t index) {
    std::vector<Span> spans;
    for (std::uint32_t i = 0; i < array_element_count(results); ++i) {
        const SearchRecord& record = results[i].record(index);
        EXPECT_TRUE(record.took_part);
        spans.push_back({record.start, record.length});
    }
    return spans;
}

bool operator==(const Span& a, const Span& b) { return a.start == b.start && a.length == b.length; }

void PrintTo(const Span& span, std::ostream* out) { *out << span.start << "+" << span.length; }

}  // namespace

TEST(SearchAll, FindsEveryMatchAtItsByteOffset) {
    for (const SearchCase& c : search_cases) {
        SCOPED_TRACE(c.name);
        regex expression;
        ASSERT_TRUE(expression.create(Text(c.expression), c.case_sensitive));
        Array<SearchResult> results = expression.search_all(Text(c.text));
        EXPECT_EQ(spans_of(results, 0), c.matches);
        if (!c.group1.empty()) {
            EXPECT_EQ(spans_of(results, 1), c.group1);
        }
    }
}

TEST(SearchAll, FindsNothingWithoutAnExpression) {
    regex expression;
    EXPECT_EQ(array_element_count(expression.search_all(Text("aaa"))), 0u);
    EXPECT_FALSE(expression.create(Text("a(")));
    EXPECT_EQ(array_element_count(expression.search_all(Text("aaa"))), 0u);
}

TEST(SearchAll, FailedCreateKeepsTheEarlierExpression) {
    regex expression;
    ASSERT_TRUE(expression.create(Text("a+")));
    for (const char* bad : {"a(", "[a", "*a", "a{2,1}", "(?<=a+)b"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(expression.create(Text(bad)));
        Array<SearchResult> results = expression.search_all(Text("baab"));
        ASSERT_EQ(array_element_count(results), 1u);
        EXPECT_EQ(results[0].record(0).start, 1);
        EXPECT_EQ(results[0].record(0).length, 2);
    }
}

TEST(SearchAll, ResultsOutliveTheirRegex) {
    const Text text("xb1b2");
    Array<SearchResult> results;
    {
        regex expression;
        ASSERT_TRUE(expression.create(Text("b(.)")));
        results = expression.search_all(text);
        ASSERT_TRUE(expression.create(Text("x")));
        EXPECT_EQ(array_element_count(expression.search_all(text)), 1u);
    }
    ASSERT_EQ(array_element_count(results), 2u);
    EXPECT_STREQ(submatch_text(results[1], text, 1).c_str(), "2");
}

TEST(SubmatchText, CopiesAGroupAndItsStart) {
    const Text text("<a id=\"\" href=\"x.html\">");
    regex expression;
    ASSERT_TRUE(expression.create(Text("id=\"(.*?)\" href=\"(.*?)\"")));
    Array<SearchResult> results = expression.search_all(text);
    ASSERT_EQ(array_element_count(results), 1u);

    std::int32_t start = -7;
    EXPECT_STREQ(submatch_text(results[0], text, 0, &start).c_str(), "id=\"\" href=\"x.html\"");
    EXPECT_EQ(start, 3);
    EXPECT_STREQ(submatch_text(results[0], text, 1, &start).c_str(), "");
    EXPECT_EQ(start, 7);
    EXPECT_STREQ(submatch_text(results[0], text, 2, &start).c_str(), "x.html");
    EXPECT_EQ(start, 15);
}

TEST(SubmatchText, GivesEmptyAndLeavesStartForWhatItCannotAccept) {
    const Text text("zy");
    regex expression;
    ASSERT_TRUE(expression.create(Text("(x)?y")));
    Array<SearchResult> results = expression.search_all(text);
    ASSERT_EQ(array_element_count(results), 1u);
    const SearchResult& result = results[0];
    ASSERT_FALSE(result.record(1).took_part);

    struct Refusal {
        const char* name;
        const SearchResult& result;
        const char* text;
        std::int32_t index;
    };
    const SearchResult no_records;
    const Refusal refusals[] = {
        {"a group that took no part", result, "zy", 1},
        {"an index below 0", result, "zy", -1},
        {"an index past the last group", result, "zy", 2},
        {"a text shorter than the one searched", result, "z", 0},
        {"a result without records", no_records, "zy", 0},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.name);
        std::int32_t start = -7;
        EXPECT_STREQ(submatch_text(r.result, Text(r.text), r.index, &start).c_str(), "");
        EXPECT_EQ(start, -7);
    }
}

// A play page cut down to what the collection looks at, and what sits around it.
const char play_page[] =
    "<!DOCTYPE html><html><head><meta charset=\"gbk\">\n"
    "<meta name=\"keywords\" content=\"\xB2\xE2\xCA\xD4\">\n"
    "<meta name=\"title\" content=\"\xB2\xE2\xCA\xD4 \xB5\xDA"
    "2\xBC\xBE\">\n"
    "<title>\xB2\xE2\xCA\xD4</title></head><body>\n"
    "<div class=\"items\" id=\"episodes\">\n"
    "<div class=\"item\" name=\"tvlist\" flag=\"0\" seq=\"1\" id=\"item_XMTAx\" title=\"\xB5\xDA"
    "1\xBC\xAF\">"
    "<a href=\"/v_show/id_XMTAx.html\">1</a></div>\n"
    "<div class=\"item\" name=\"tvlist\" flag=\"1\" seq=\"2\" id=\"item_\" title=\"\xB5\xDA"
    "2\xBC\xAF\"></div>\n"
    "<div class=\"item\" name=\"related\" flag=\"0\" seq=\"9\" id=\"item_ZZ\" title=\"\xB5\xDA"
    "9\xBC\xAF\"></div>\n"
    "<div class=\"item\" name=\"tvlist\" flag=\"0\" seq=\"12\" id=\"item_XMTEy\" title=\"\xB5\xDA"
    "12\xBC\xAF\">"
    "</div>\n</div></body></html>\n";

TEST(PageExpressions, FindTheEpisodesAndTheTitleOfAPlayPage) {
    EXPECT_EQ(std::strlen(episode_expression), 91u);
    EXPECT_EQ(std::strlen(title_expression), 35u);
    const Text page(play_page);
    regex expression;

    ASSERT_TRUE(expression.create(Text(episode_expression)));
    Array<SearchResult> episodes = expression.search_all(page);
    const char* const expected[][4] = {
        {"0", "1", "XMTAx", "1"}, {"1", "2", "", "2"}, {"0", "12", "XMTEy", "12"}};
    ASSERT_EQ(array_element_count(episodes), 3u);
    for (std::uint32_t i = 0; i < 3; ++i) {
        ASSERT_EQ(episodes[i].record_count(), 5u);
        for (std::int32_t group = 1; group <= 4; ++group)
            EXPECT_STREQ(submatch_text(episodes[i], page, group).c_str(), expected[i][group - 1])
                << i << "/" << group;
    }

    ASSERT_TRUE(expression.create(Text(title_expression)));
    Array<SearchResult> titles = expression.search_all(page);
    ASSERT_EQ(array_element_count(titles), 1u);
    EXPECT_STREQ(submatch_text(titles[0], page, 1).c_str(),
                 "\xB2\xE2\xCA\xD4 \xB5\xDA"
                 "2\xBC\xBE");
}
