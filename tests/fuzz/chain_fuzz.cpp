// The literal-chain search against the plain Boost loop, match for match: the
// chain claims to find exactly what Boost finds, so any input where the two
// differ in a position, a length or a took-part flag is a fault of the chain.
// The first input byte picks the expression: one of the two page expressions,
// a chain-shaped one built from the next bytes, or the input's own bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "episodes/page_expressions.h"
#include "pattern/literal_chain.h"
#include "pattern/regex.h"
#include "tests/pattern/plain_search.h"

namespace {

// The bytes a built chain and its text are drawn from: specials that must be
// escaped, bytes of the page expressions, a GBK pair, and a newline.
const char alphabet[] = {'a', 'b', '.', '"', '>', '<', '=', '\n', '(', '*', '?', '\xB5', '\xDA'};

bool is_special(char c) { return std::strchr(".^$|?*+()[]{}\\", c) != nullptr; }

// Each byte is one piece: a capturing or a plain lazy gap, or a run of one to
// four alphabet bytes (taken from the bytes that follow), escaped as needed.
std::string chain_expression(const std::uint8_t*& at, const std::uint8_t* end) {
    std::string expression;
    int pieces = at < end ? *at++ % 8 + 1 : 1;
    while (pieces-- > 0 && at < end) {
        const std::uint8_t piece = *at++;
        if (piece % 4 == 0) {
            expression += "(.*?)";
        } else if (piece % 4 == 1) {
            expression += ".*?";
        } else {
            for (int run = piece / 4 % 4 + 1; run > 0 && at < end; --run) {
                const char c = alphabet[*at++ % sizeof alphabet];
                if (is_special(c)) expression += '\\';
                expression += c;
            }
        }
    }
    return expression;
}

std::vector<PlainMatch> found_by_regex(const regex& compiled, const Text& text) {
    Array<SearchResult> results = compiled.search_all(text);
    std::vector<PlainMatch> found;
    for (std::uint32_t i = 0; i < array_element_count(results); ++i) {
        const SearchResult& result = results[i];
        found.emplace_back(&result.record(0), &result.record(0) + result.record_count());
    }
    return found;
}

bool same(const std::vector<PlainMatch>& a, const std::vector<PlainMatch>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t m = 0; m < a.size(); ++m) {
        if (a[m].size() != b[m].size()) return false;
        for (std::size_t k = 0; k < a[m].size(); ++k) {
            const SearchRecord &x = a[m][k], &y = b[m][k];
            if (x.start != y.start || x.length != y.length || x.took_part != y.took_part) return false;
        }
    }
    return true;
}

void print_matches(const char* whose, const std::vector<PlainMatch>& found) {
    std::fprintf(stderr, "%s:", whose);
    for (const PlainMatch& match : found) {
        std::fprintf(stderr, " [");
        for (const SearchRecord& record : match)
            std::fprintf(stderr, " %s%d+%d", record.took_part ? "" : "-", record.start, record.length);
        std::fprintf(stderr, " ]");
    }
    std::fprintf(stderr, "\n");
}

void compare(const std::string& expression, const Text& text, bool must_be_chain) {
    const Text pattern(expression.c_str(), static_cast<std::uint32_t>(expression.size()));
    if (must_be_chain && !LiteralChain::of(pattern.c_str(), pattern.length()).applies()) {
        std::fprintf(stderr, "a chain-shaped expression was refused: %s\n", pattern.c_str());
        std::abort();
    }
    regex compiled;
    if (!compiled.create(pattern)) return;  // Boost refuses it too: nothing to compare
    bool finished = false;
    std::vector<PlainMatch> plain =
        plain_search_all(PlainEngine(pattern.c_str(), pattern.c_str() + pattern.length()), text.c_str(),
                         text.length(), &finished);
    // Past Boost's work limit the reference holds only the first matches.
    if (!finished) return;
    std::vector<PlainMatch> found = found_by_regex(compiled, text);
    if (same(found, plain)) return;
    std::fprintf(stderr, "expression: %s\ntext (%u bytes): %s\n", pattern.c_str(), text.length(),
                 text.c_str());
    print_matches("search_all", found);
    print_matches("plain loop", plain);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t* at = data + 1;
    const std::uint8_t* const end = data + size;
    switch (data[0] % 3) {
    case 0: {
        const char* expression = *at++ % 2 ? episode_expression : title_expression;
        compare(expression, Text(reinterpret_cast<const char*>(at), static_cast<std::uint32_t>(end - at)),
                true);
        break;
    }
    case 1: {
        const std::string expression = chain_expression(at, end);
        // The text over the same alphabet, so that runs meet, overlap and repeat.
        std::string text;
        for (; at < end; ++at) text += alphabet[*at % sizeof alphabet];
        compare(expression, Text(text.c_str(), static_cast<std::uint32_t>(text.size())), true);
        break;
    }
    default: {
        // Expression and text as given, split at the first zero byte.
        const char* bytes = reinterpret_cast<const char*>(at);
        const std::size_t expression_length = strnlen(bytes, static_cast<std::size_t>(end - at));
        const char* text =
            bytes + expression_length + (expression_length < static_cast<std::size_t>(end - at));
        compare(std::string(bytes, expression_length),
                Text(text, static_cast<std::uint32_t>(reinterpret_cast<const char*>(end) - text)), false);
        break;
    }
    }
    return 0;
}
