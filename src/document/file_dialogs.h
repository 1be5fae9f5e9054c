#pragma once
// The dialogs of the file commands: the platform's open and save dialogs and
// the encoding choice. They only collect a choice; the commands act on it.
#include <windows.h>

#include <string>

// "テキストファイルを開く", starting at `startPath` (or the default document
// folder when it is empty). Returns whether a file was chosen.
bool AskFileToOpen(HWND owner, const std::wstring& startPath, std::wstring& chosen);
// The open dialog for files other than documents (audio files).
struct OpenDialogKind {
    const wchar_t* title;
    const wchar_t* filters;  // pairs of NUL-terminated strings, ending in an empty one
    const wchar_t* defaultExtension;
};
bool AskFileOfKindToOpen(HWND owner, const OpenDialogKind& kind, const std::wstring& startPath, std::wstring& chosen);
// "名前を付けて保存", starting at the document path or a name for an untitled
// document in the default document folder.
bool AskFileToSave(HWND owner, std::wstring& chosen);
// "文字コード選択": returns whether an encoding was chosen (a code page).
bool AskEncoding(HWND owner, int& codePage);
