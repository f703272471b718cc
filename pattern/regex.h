// Pattern search over page texts: `regex` holds one compiled expression and
// finds every match; `SearchResult` is one match, positions only.
#pragma once

#include <cstdint>
#include <memory>

#include "text/text.h"

// One group of a match: byte offset from the start of the searched Text.
struct SearchRecord {
    std::int32_t start;
    std::int32_t length;
    bool took_part;
};

// Record 0 is the whole match, record k group k. Owns its record list; stays
// valid after its regex is given another expression or destroyed.
class SearchResult {
public:
    SearchResult() noexcept = default;
    SearchResult(const SearchRecord* records, std::uint32_t count);
    SearchResult(SearchResult&& other) noexcept;
    SearchResult& operator=(SearchResult&& other) noexcept;
    SearchResult(const SearchResult&) = delete;
    SearchResult& operator=(const SearchResult&) = delete;
    ~SearchResult();

    std::uint32_t record_count() const noexcept { return count_; }
    const SearchRecord& record(std::uint32_t index) const noexcept { return records_[index]; }

private:
    SearchRecord* records_ = nullptr;
    std::uint32_t count_ = 0;
};

// A copy of group `index` out of the very Text that was searched; the empty
// Text for a group that took no part or an index or text it cannot accept.
Text submatch_text(const SearchResult& result, const Text& text, std::int32_t index,
                   std::int32_t* start = nullptr);

class regex {
public:
    regex() noexcept;
    regex(const regex&) = delete;
    regex& operator=(const regex&) = delete;
    ~regex();

    // Replaces the held expression only when the new one compiles.
    bool create(const Text& expression, bool case_sensitive = true);
    // Every match in page order, never overlapping; empty on any failure.
    Array<SearchResult> search_all(const Text& text) const;

private:
    struct Compiled;
    std::unique_ptr<Compiled> compiled_;
};
