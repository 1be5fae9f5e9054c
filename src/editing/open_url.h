#pragma once
// F5: open the web address nearest the caret on its line in the browser.
#include <windows.h>

#include <string>
#include <string_view>

// Longest address opened; a longer one is ignored rather than opened cut.
constexpr size_t kMaxUrlUnits = 260;
// Only this much of a line is searched for addresses.
constexpr size_t kMaxUrlLineUnits = 3072;

// The address starting nearest `column` (from 0; the earlier one on a tie),
// up to its first ending character; empty when there is none that looks
// like an address.
std::wstring UrlNearColumn(std::wstring_view line, size_t column);

// Command 572; silent in every case.
void OpenUrlAtCaret(HWND mainWindow, LPARAM);
