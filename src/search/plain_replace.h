#pragma once
// Replace all for plain terms, computed over the editor text in one pass.
#include <string>

#include "search/regex_search.h"

// Lower case for matching without regard to case: below U+0100 only A-Z
// change; other characters follow the system's mapping, one by one.
std::wstring LowerForMatching(const std::wstring& text);

// Replaces every occurrence from `from` on; text produced by a replacement is
// never searched again.
ReplaceAllResult PlainReplaceAll(const std::wstring& text, long from, const std::wstring& term,
                                 const std::wstring& replacement, bool matchCase);
