#pragma once
// Replace all done the slow, obvious way: after every replacement rebuild the
// whole text and search it again from the start position, compiling the
// pattern for each search. The fast builders must give the same results.
#include <chrono>
#include <string>

#include "search/plain_replace.h"
#include "search/regex_search.h"

namespace reference {

// Gives up (returns false) once `limit` has passed.
inline bool RegexReplaceAll(const std::wstring& pattern, const std::wstring& original, long from,
                            const std::wstring& replacement, ReplaceAllResult& result,
                            std::chrono::steady_clock::duration limit = std::chrono::hours(1)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::wstring text = original;
    long searchFrom = from;
    result = ReplaceAllResult{};
    result.caret = from;
    for (;;) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        const RegexHit hit = RegexFindForward(PrepareRegex(pattern), text, searchFrom);
        if (!hit.Found()) break;
        text = text.substr(0, static_cast<size_t>(hit.position)) + replacement +
               text.substr(static_cast<size_t>(hit.position + hit.length));
        ++result.count;
        result.caret = hit.position + static_cast<long>(replacement.size());
        searchFrom = result.caret + (hit.length == 0 ? 1 : 0);
    }
    result.text = text;
    return true;
}

inline bool PlainReplaceAll(const std::wstring& original, long from, const std::wstring& term,
                            const std::wstring& replacement, bool matchCase, ReplaceAllResult& result,
                            std::chrono::steady_clock::duration limit = std::chrono::hours(1)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::wstring text = original;
    size_t position = static_cast<size_t>(from);
    result = ReplaceAllResult{};
    result.caret = from;
    for (;;) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        const std::wstring haystack = matchCase ? text : LowerForMatching(text);
        const size_t hit = haystack.find(matchCase ? term : LowerForMatching(term), position);
        if (hit == std::wstring::npos) break;
        text = text.substr(0, hit) + replacement + text.substr(hit + term.size());
        ++result.count;
        position = hit + replacement.size();
        result.caret = static_cast<long>(position);
    }
    result.text = text;
    return true;
}

}  // namespace reference
