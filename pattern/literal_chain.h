// A proof of where the next match can begin, for expressions made only of
// literal byte runs and lazy any-byte gaps: the shape of both page expressions.
// It keeps a page of unclosed openings from costing the engine seconds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// For such an expression (say L0(.*?)L1(.*?)L2), a match in [from, end) exists
// exactly when the runs occur in that order, each after the one before, and it
// begins at the first L0 at or after `from`: placing every run at its earliest
// occurrence leaves the most room for the rest, and a later start can only
// push the runs later. So one scan over the runs either finds the one place
// where the engine will match or proves that no match can follow.
class LiteralChain {
public:
    // A chain that applies to nothing unless the expression has exactly that
    // shape, read byte by byte as the engine reads it (perl syntax, case kept).
    static LiteralChain of(const char* expression, std::uint32_t length);

    bool applies() const noexcept { return applies_; }
    // The start of the match that a search of [from, end) finds, or null when
    // that search can find none. Only for a chain that applies.
    const char* match_start(const char* from, const char* end) const noexcept;

private:
    // One literal run, found by Horspool's skip over its last byte.
    struct Run {
        explicit Run(std::string run_bytes);
        const char* find(const char* from, const char* end) const noexcept;

        std::string bytes;
        std::uint32_t skip[256];
    };

    std::vector<Run> runs_;
    bool applies_ = false;
    bool starts_with_run_ = false;  // else a gap opens the expression
};
