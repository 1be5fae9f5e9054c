#pragma once
// Untitled documents are numbered across all running instances: one more
// than the highest number any other instance shows in its title.
#include <windows.h>

#include <string>

// The number in a title of the form "無題%d - オリンダ", or 0 when the title
// has another form (no digits, the number 0, another ending).
int UntitledNumberInTitle(const std::wstring& title);

// One more than the highest number shown by the other windows of class
// "Orinda"; 1 when there is none.
int NextUntitledNumber(HWND ownWindow);

std::wstring UntitledTitle(int number);
