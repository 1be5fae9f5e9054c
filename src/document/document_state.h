#pragma once
// The open document: its path and file name (empty when untitled), the
// encoding it is saved in, and the text it had when it was loaded.
#include <string>


const std::wstring& DocumentPath();
const std::wstring& DocumentFileName();
// The path and its file-name part; an empty path makes the document untitled.
// A new path (or the same one again) holds all of its file.
void SetDocumentPath(const std::wstring& path);
// The editor holds only the text before a NUL character of the document's
// file: a save over that file would lose the rest.
void SetCutShortOfItsFile(bool cutShort);
// The document has a file and holds all of it, so that a save may go over it.
bool CanSaveInPlace();
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

// The edit lock: commands that change the text do not write into a locked
// document. Says "編集禁止" and returns true when it is locked.
bool RefuseWhileLocked();

// The number of this instance's untitled document.
int UntitledNumber();
// The file name, or "無題%d" for an untitled document.
std::wstring DocumentName();
// Give the main window the untitled title with a freshly counted number.
void ShowUntitledTitle();
// "%s - オリンダ" with the document's file name, or the untitled title.
void ShowDocumentTitle();
