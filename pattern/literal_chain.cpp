// Reads an expression into literal runs and lazy gaps, and scans a text for
// the runs in order; see literal_chain.h for why that decides a search.
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
    while (at < end) {
        if (const std::size_t gap = lazy_gap_length(at, end)) {
            if (!run.empty()) chain.runs_.emplace_back(std::move(run));
            run.clear();
            at += gap;
        } else {
            if (at == expression) chain.starts_with_run_ = true;
            // Only escaped specials are plain bytes: \< and its kin are assertions.
            if (*at == '\\' && end - at >= 2 && is_special(at[1])) {
                ++at;
            } else if (is_special(*at)) {
                return LiteralChain();
            }
            run.push_back(*at++);
        }
    }
    if (!run.empty()) chain.runs_.emplace_back(std::move(run));
    chain.applies_ = true;
    return chain;
}

const char* LiteralChain::match_start(const char* from, const char* end) const noexcept {
    const char* start = from;
    const char* at = from;
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        const char* found = runs_[i].find(at, end);
        if (!found) return nullptr;
        if (i == 0 && starts_with_run_) start = found;
        at = found + runs_[i].bytes.size();
    }
    return start;
}

LiteralChain::Run::Run(std::string run_bytes) : bytes(std::move(run_bytes)) {
    const std::size_t last = bytes.size() - 1;
    for (std::uint32_t& distance : skip) distance = static_cast<std::uint32_t>(bytes.size());
    for (std::size_t i = 0; i < last; ++i) skip[static_cast<unsigned char>(bytes[i])] = static_cast<std::uint32_t>(last - i);
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
