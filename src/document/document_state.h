#pragma once
// The open document: its path and file name (empty when untitled), the
// encoding it is saved in, and the text it had when it was loaded.
#include <string>

constexpr int kShiftJis = 932;
constexpr int kUtf16Le = 1200;
constexpr int kUtf16Be = 1201;
constexpr int kUtf8 = 65001;
constexpr int kUtf8WithBom = 65002;

const std::wstring& DocumentPath();
const std::wstring& DocumentFileName();
// The path and its file-name part; an empty path makes the document untitled.
void SetDocumentPath(const std::wstring& path);
int DocumentEncoding();
void SetDocumentEncoding(int codePage);

// The file last inserted: where the next insertion dialog starts.
const std::wstring& InsertPath();
void SetInsertPath(const std::wstring& path);

// The text as it was last loaded, to tell a document edited back to it.
const std::wstring& LoadedText();
void SetLoadedText(std::wstring text);

// The editor accepts input (false while the edit lock is on).
bool IsEditable();
void SetEditable(bool editable);
// The edit lock may be switched: false for a file that is read-only on disk.
bool IsLockToggleAllowed();
void SetLockToggleAllowed(bool allowed);

// The encoding's name as the status bar shows it.
const wchar_t* EncodingDisplayName(int codePage);
