// Search for expressions made only of literal byte runs and lazy any-byte gaps,
// the shape of both page expressions: one forward scan, where Boost's
// backtracking costs seconds on a page of unclosed openings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pattern/regex.h"

// For such an expression (say L0(.*?)L1(.*?)L2), the match that Boost finds
// in [from, end) is the runs placed each at its earliest occurrence after the
// one before, starting at the first L0 at or after `from`: an earlier start
// has no L0, a later one can only push the runs later, and each lazy gap ends
// at the first place where the rest still matches, which is the next run's
// earliest occurrence. When a run is missing, no match can follow at all.
class LiteralChain {
public:
    // A chain that applies to nothing unless the expression has exactly that
    // shape, read byte by byte as Boost reads it (perl syntax, case kept).
    static LiteralChain of(const char* expression, std::uint32_t length);

    bool applies() const noexcept { return applies_; }
    // Record 0 and one per capturing gap, as Boost numbers the groups.
    std::uint32_t record_count() const noexcept { return group_count_ + 1; }
    // The match that a search of [from, end) finds, into record_count()
    // records with offsets from `text`; false when there is none.
    bool find(const char* text, const char* from, const char* end, SearchRecord* records) const noexcept;

private:
    // One literal run, found by Horspool's skip over its last byte.
    struct Run {
        explicit Run(std::string run_bytes);
        const char* find(const char* from, const char* end) const noexcept;

        std::string bytes;
        std::uint32_t skip[256];
    };

    // The expression in order: a run (index into runs_) or a gap.
    struct Piece {
        static constexpr std::uint32_t gap = 0xFFFFFFFF;
        std::uint32_t run;
        bool captures;  // a gap written as (.*?) rather than .*?
    };

    std::vector<Run> runs_;
    std::vector<Piece> pieces_;
    std::uint32_t group_count_ = 0;
    bool applies_ = false;
};
