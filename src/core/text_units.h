#pragma once
// Cutting text to a number of UTF-16 units for a fixed buffer or limit.
#include <windows.h>

#include <string_view>

// At most maxUnits units of text, never ending in half a surrogate pair.
inline std::wstring_view CutToUnits(std::wstring_view text, size_t maxUnits) {
    if (text.size() <= maxUnits) return text;
    text = text.substr(0, maxUnits);
    if (!text.empty() && IS_HIGH_SURROGATE(text.back())) text.remove_suffix(1);
    return text;
}
