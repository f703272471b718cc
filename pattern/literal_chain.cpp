// Reads an expression into literal runs and lazy gaps, and finds its matches
// by placing the runs in order; literal_chain.h says why that is Boost's match.
#include "pattern/literal_chain.h"

#include <cstring>
#include <utility>

namespace {

// The bytes that perl syntax gives a meaning of their own; any other byte
// (a GBK byte included) stands for itself. Quantifiers are among them, so a
// repeated byte or gap is refused when the reading reaches its quantifier.
bool is_special(char c) { return c != '\0' && std::strchr(".^$|?*+()[]{}\\", c) != nullptr; }

// "(.*?)" or ".*?": any bytes, as few as the rest allows. Zero for anything else.
std::size_t lazy_gap_length(const char* at, const char* end) {
    for (const char* gap : {"(.*?)", ".*?"}) {
        const std::size_t length = std::strlen(gap);
        if (static_cast<std::size_t>(end - at) >= length && std::memcmp(at, gap, length) == 0) return length;
    }
    return 0;
}

}  // namespace

LiteralChain LiteralChain::of(const char* expression, std::uint32_t length) {
    LiteralChain chain;
    const char* at = expression;
    const char* const end = expression + length;
    std::string run;
    auto close_run = [&] {
        if (run.empty()) return;
        chain.pieces_.push_back({static_cast<std::uint32_t>(chain.runs_.size()), false});
        chain.runs_.emplace_back(std::move(run));
        run.clear();
    };
    while (at < end) {
        if (const std::size_t gap = lazy_gap_length(at, end)) {
            close_run();
            const bool captures = *at == '(';
            chain.pieces_.push_back({Piece::gap, captures});
            if (captures) ++chain.group_count_;
            at += gap;
        } else {
            // Only escaped specials are plain bytes: \< and its kin are assertions.
            if (*at == '\\' && end - at >= 2 && is_special(at[1])) {
                ++at;
            } else if (is_special(*at)) {
                return LiteralChain();
            }
            run.push_back(*at++);
        }
    }
    close_run();
    chain.applies_ = true;
    return chain;
}

bool LiteralChain::find(const char* text, const char* from, const char* end,
                        SearchRecord* records) const noexcept {
    auto offset = [text](const char* at) { return static_cast<std::int32_t>(at - text); };
    const char* start = from;
    const char* at = from;
    bool after_gap = false;
    SearchRecord* open_group = nullptr;  // the last gap before the next run, when it captures
    std::uint32_t group = 0;
    for (const Piece& piece : pieces_) {
        if (piece.run == Piece::gap) {
            // Every gap but the last before a run stays empty: each takes as few bytes as it can.
            after_gap = true;
            open_group = piece.captures ? &records[++group] : nullptr;
            if (open_group) *open_group = {offset(at), 0, true};
            continue;
        }
        const Run& run = runs_[piece.run];
        const char* found = run.find(at, end);
        if (!found) return false;
        // Runs are merged, so only the first piece is a run without a gap before it.
        if (!after_gap) start = found;
        if (open_group) open_group->length = static_cast<std::int32_t>(found - at);
        after_gap = false;
        open_group = nullptr;
        at = found + run.bytes.size();
    }
    records[0] = {offset(start), static_cast<std::int32_t>(at - start), true};
    return true;
}

LiteralChain::Run::Run(std::string run_bytes) : bytes(std::move(run_bytes)) {
    const std::size_t last = bytes.size() - 1;
    for (std::uint32_t& distance : skip) distance = static_cast<std::uint32_t>(bytes.size());
    for (std::size_t i = 0; i < last; ++i)
        skip[static_cast<unsigned char>(bytes[i])] = static_cast<std::uint32_t>(last - i);
}

const char* LiteralChain::Run::find(const char* from, const char* end) const noexcept {
    const std::size_t length = bytes.size();
    if (static_cast<std::size_t>(end - from) < length) return nullptr;
    const char* const last_start = end - length;
    const char last_byte = bytes[length - 1];
    // Each skip stays within the text: at most the run's length past last_start.
    for (const char* at = from; at <= last_start; at += skip[static_cast<unsigned char>(at[length - 1])]) {
        if (at[length - 1] == last_byte && std::memcmp(at, bytes.data(), length - 1) == 0) return at;
    }
    return nullptr;
}
