#pragma once
// Replace all done the slow, obvious way: after every replacement rebuild the
// whole text and search it again from the start position, compiling the
// pattern for each search. The fast builders must give the same results.
#include <chrono>
#include <string>

#include "search/plain_replace.h"
#include "search/regex_search.h"

namespace reference {

// `find` gives the first hit at or after a position of the text as it is now.
// Gives up (returns false) once `limit` has passed.
template <class Find>
bool ReplaceStepByStep(const std::wstring& original, long from, const std::wstring& replacement,
                       ReplaceAllResult& result, std::chrono::steady_clock::duration limit, Find find) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::wstring text = original;
    long searchFrom = from;
    result = ReplaceAllResult{};
    result.caret = from;
    for (;;) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        const RegexHit hit = find(text, searchFrom);
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

inline bool RegexReplaceAll(const std::wstring& pattern, const std::wstring& original, long from,
                            const std::wstring& replacement, ReplaceAllResult& result,
                            std::chrono::steady_clock::duration limit = std::chrono::hours(1)) {
    return ReplaceStepByStep(original, from, replacement, result, limit, [&pattern](const std::wstring& text, long at) {
        return RegexFindForward(PrepareRegex(pattern), text, at);
    });
}

inline bool PlainReplaceAll(const std::wstring& original, long from, const std::wstring& term,
                            const std::wstring& replacement, bool matchCase, ReplaceAllResult& result,
                            std::chrono::steady_clock::duration limit = std::chrono::hours(1)) {
    return ReplaceStepByStep(original, from, replacement, result, limit, [&](const std::wstring& text, long at) {
        const std::wstring haystack = matchCase ? text : LowerForMatching(text);
        const size_t hit = haystack.find(matchCase ? term : LowerForMatching(term), static_cast<size_t>(at));
        if (hit == std::wstring::npos) return RegexHit{};
        return RegexHit{static_cast<long>(hit), static_cast<long>(term.size())};
    });
}

}  // namespace reference
