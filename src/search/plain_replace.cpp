#include "search/plain_replace.h"

#include <windows.h>

std::wstring LowerForMatching(const std::wstring& text) {
    std::wstring lower = text;
    if (!lower.empty()) CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c < 0x100) lower[i] = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    }
    return lower;
}

ReplaceAllResult PlainReplaceAll(const std::wstring& text, long from, const std::wstring& term,
                                 const std::wstring& replacement, bool matchCase) {
    ReplaceAllResult result;
    result.caret = from;
    if (term.empty() || from < 0 || static_cast<size_t>(from) > text.size()) {
        result.text = text;
        return result;
    }
    const std::wstring lowerText = matchCase ? std::wstring() : LowerForMatching(text);
    const std::wstring lowerTerm = matchCase ? std::wstring() : LowerForMatching(term);
    const std::wstring& haystack = matchCase ? text : lowerText;
    const std::wstring& needle = matchCase ? term : lowerTerm;

    std::wstring& built = result.text;
    built.reserve(text.size());
    size_t copied = 0;
    for (size_t hit = haystack.find(needle, static_cast<size_t>(from)); hit != std::wstring::npos;
         hit = haystack.find(needle, copied)) {
        built.append(text, copied, hit - copied);
        built += replacement;
        copied = hit + needle.size();
        ++result.count;
        result.caret = static_cast<long>(built.size());
    }
    built.append(text, copied, std::wstring::npos);
    return result;
}
