#pragma once
// The decimal number at the start of a text (list files' positions, MCI
// replies): 0 without digits, LONG_MAX when larger.
#include <climits>
#include <string>

inline long LeadingNumber(const std::wstring& text, size_t from = 0) {
    long long value = 0;
    for (size_t i = from; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > LONG_MAX) return LONG_MAX;
    }
    return static_cast<long>(value);
}
