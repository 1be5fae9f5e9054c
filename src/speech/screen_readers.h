#pragma once
// The screen readers' libraries as a whole: the folder they come from, the
// reader that runs at the first start, and a word to the user when the
// chosen reader's library is missing (NVDA reads a box without it).
#include <windows.h>

#include <string>

// The folder the libraries are loaded from: the program's own, unless a test
// program points elsewhere (empty: the program's own again).
void SetSpeechLibraryFolder(const std::wstring& folder);
std::wstring SpeechLibraryFolder();

// The engine of the screen reader running now: NVDA, else PC-Talker, else
// none. Loads their libraries to ask them.
int RunningScreenReader();

// The chosen reader's library is missing; or, at the first start, no reader
// was found and NVDA's library is missing too (NVDA may well run without it).
bool LibraryMissing(bool firstStart);
// Load the chosen reader's library where it is missing: the user may have
// put it in place since the start.
void RetryChosenLibrary();
// Say which file is missing, where it goes and where it comes from, when
// `LibraryMissing` holds. One box per call.
void ExplainMissingLibrary(HWND owner, bool firstStart);
