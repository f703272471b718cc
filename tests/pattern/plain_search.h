// The search loop with nothing in front of Boost: every search of [p, end) left
// to the engine alone. The reference that the chain's shortcut must agree with.
#pragma once

#include <cstdint>
#include <exception>
#include <vector>

#include <boost/regex.hpp>

#include "pattern/regex.h"

using PlainEngine = boost::basic_regex<char, boost::c_regex_traits<char>>;
using PlainMatch = std::vector<SearchRecord>;

// *finished (when given) tells whether Boost searched to the end rather than
// giving up at its work limit, after which the matches found are only a start.
inline std::vector<PlainMatch> plain_search_all(const PlainEngine& engine, const char* text,
                                                std::uint32_t length, bool* finished = nullptr) {
    std::vector<PlainMatch> found;
    const char* const end = text + length;
    if (finished) *finished = true;
    if (length == 0) return found;
    try {
        boost::match_results<const char*> match;
        for (const char* position = text;
             boost::regex_search(position, end, match, engine, boost::match_default);
             position = match[0].second) {
            PlainMatch records;
            for (std::size_t k = 0; k < match.size(); ++k) {
                if (match[k].matched)
                    records.push_back({static_cast<std::int32_t>(match[k].first - text),
                                       static_cast<std::int32_t>(match[k].length()), true});
                else
                    records.push_back({-1, 0, false});
            }
            found.push_back(records);
            if (match[0].length() == 0) break;
        }
    } catch (const std::exception&) {
        if (finished) *finished = false;
    }
    return found;
}
