#pragma once
// The names instances know each other by: the window class, the title forms
// "%s - オリンダ" and "無題%d - オリンダ", and the untitled numbers, counted
// across all running instances (one more than the highest any other shows).
#include <windows.h>

#include <string>
#include <vector>

extern const wchar_t kMainWindowClass[];

// The number in a title of the form "無題%d - オリンダ", or 0 when the title
// has another form (no digits, the number 0, another ending).
int UntitledNumberInTitle(const std::wstring& title);

// The main windows of the other running instances, front to back.
std::vector<HWND> OtherInstanceWindows(HWND ownWindow);

// One more than the highest number shown by the other windows of class
// "Orinda"; 1 when there is none.
int NextUntitledNumber(HWND ownWindow);

// "無題%d": the name of an untitled document.
std::wstring UntitledName(int number);
std::wstring UntitledTitle(int number);
// "%s - オリンダ".
std::wstring DocumentTitle(const std::wstring& fileName);
