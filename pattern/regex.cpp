// regex and SearchResult over Boost.Regex: compiles the page expressions, finds
// every match as positions, and keeps Boost's exceptions from reaching callers.
#include "pattern/regex.h"

#include <cstring>
#include <exception>
#include <limits>
#include <vector>

#include <boost/regex.hpp>

#include "pattern/literal_chain.h"

namespace {

// The C-locale traits on every platform (what mingw picks by itself), so that
// each byte is one character classed the same under Wine and in native runs.
using Engine = boost::basic_regex<char, boost::c_regex_traits<char>>;

boost::regex_constants::syntax_option_type syntax_of(bool case_sensitive) {
    return case_sensitive ? boost::regex_constants::perl
                          : boost::regex_constants::perl | boost::regex_constants::icase;
}

// Writes one record per group of the match, offsets counted from the text's first byte.
void record_match(const boost::match_results<const char*>& match, const char* text, SearchRecord* records) {
    for (std::size_t k = 0; k < match.size(); ++k) {
        const auto& group = match[k];
        records[k] = group.matched ? SearchRecord{static_cast<std::int32_t>(group.first - text),
                                                  static_cast<std::int32_t>(group.second - group.first), true}
                                   : SearchRecord{-1, 0, false};
    }
}

}  // namespace

SearchResult::SearchResult(const SearchRecord* records, std::uint32_t count) : count_(count) {
    if (!count) return;
    records_ = static_cast<SearchRecord*>(heap_alloc(sizeof(SearchRecord) * count));
    std::memcpy(records_, records, sizeof(SearchRecord) * count);
}

SearchResult::SearchResult(SearchResult&& other) noexcept : records_(other.records_), count_(other.count_) {
    other.records_ = nullptr;
    other.count_ = 0;
}

SearchResult& SearchResult::operator=(SearchResult&& other) noexcept {
    if (this != &other) {
        heap_free(records_);
        records_ = other.records_;
        count_ = other.count_;
        other.records_ = nullptr;
        other.count_ = 0;
    }
    return *this;
}

SearchResult::~SearchResult() { heap_free(records_); }

Text submatch_text(const SearchResult& result, const Text& text, std::int32_t index, std::int32_t* start) {
    if (index < 0 || static_cast<std::uint32_t>(index) >= result.record_count()) return Text();
    const SearchRecord& record = result.record(static_cast<std::uint32_t>(index));
    // A record from another, shorter text must not lead the copy past its end.
    if (!record.took_part || record.start < 0 || record.length < 0 ||
        static_cast<std::uint64_t>(record.start) + static_cast<std::uint64_t>(record.length) > text.length())
        return Text();
    if (start) *start = record.start;
    return Text(text.c_str() + record.start, static_cast<std::uint32_t>(record.length));
}

struct regex::Compiled {
    Compiled(const Text& expression, bool case_sensitive)
        : engine(expression.c_str(), expression.c_str() + expression.length(), syntax_of(case_sensitive)),
          chain(case_sensitive ? LiteralChain::of(expression.c_str(), expression.length()) : LiteralChain()) {
    }

    Engine engine;
    LiteralChain chain;
};

regex::regex() noexcept = default;

regex::~regex() = default;

bool regex::create(const Text& expression, bool case_sensitive) {
    std::unique_ptr<Compiled> fresh;
    try {
        fresh = std::make_unique<Compiled>(expression, case_sensitive);
    } catch (...) {  // a bad expression, or no memory to compile it
        return false;
    }
    compiled_ = std::move(fresh);
    return true;
}

Array<SearchResult> regex::search_all(const Text& text) const {
    Array<SearchResult> found;
    // Offsets are signed 32-bit; a longer text could not be described.
    if (!compiled_ || text.empty() ||
        text.length() > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        return found;
    const char* const begin = text.c_str();
    const char* const end = begin + text.length();
    const LiteralChain& chain = compiled_->chain;
    try {
        boost::match_results<const char*> match;
        std::vector<SearchRecord> records(chain.applies() ? chain.record_count() : 0);
        for (const char* position = begin;;) {
            // Each search is of [position, end) as an input of its own, so ^ and
            // look-behind see nothing before position. An expression of the
            // chain's shape gets Boost's match by one forward scan instead of
            // backtracking (literal_chain.h); Boost searches every other one.
            if (chain.applies()) {
                if (!chain.find(begin, position, end, records.data())) break;
            } else {
                if (!boost::regex_search(position, end, match, compiled_->engine, boost::match_default))
                    break;
                records.resize(match.size());
                record_match(match, begin, records.data());
            }
            found.push_back(SearchResult(records.data(), static_cast<std::uint32_t>(records.size())));
            // Searching on from an empty match would find the same match again.
            if (records[0].length == 0) break;
            position = begin + records[0].start + records[0].length;
        }
    } catch (...) {
        // Boost gave up mid-search (its work limit, or memory): keep what was found.
    }
    return found;
}
