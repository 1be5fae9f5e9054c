#pragma once
// File commands: new, open, insert, save and the save question.
#include <windows.h>

#include <string>

// Load a file into the editor as the document. Returns whether it loaded.
bool LoadDocument(const std::wstring& path);

// Before the text is dropped: ask whether to save modified text. Returns
// false when the user cancels.
bool ConfirmDiscard(HWND owner);
