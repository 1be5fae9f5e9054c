#pragma once
// File commands: new, open, insert, save and the save question, and the
// routines behind them that the safety copies and the lists reuse.
#include <windows.h>

#include <cstddef>
#include <string>

// A load reads at most this many bytes; the editor holds at most this many
// characters.
constexpr size_t kMaxDocumentUnits = 104857600;

// Whether the editor control can take a text of this many units without
// running the process out of memory.
bool EditorCanHold(size_t units);

enum class ReadResult { kDone, kUnreadable, kTooLarge };
// The spoken answer when a file could not be read (nothing for kDone).
void SpeakReadFailure(ReadResult result);

// Load a file into the editor as the document, detecting its encoding unless
// `codePage` names one (0 = detect). When the file cannot be read or is too
// large for the editor, the document stays exactly as it was.
ReadResult LoadDocument(const std::wstring& path, int codePage = 0);
// Write the editor text in the document encoding, for a safety copy: the
// document's path and the text the save question compares with stay as they
// are. Returns false, silently, when the file cannot be written; the file
// then keeps its old content.
bool SaveDocumentTo(const std::wstring& path);
// Before the text is dropped: ask whether to save modified text. Returns
// false when the user cancels or saving fails.
bool ConfirmDiscard(HWND owner);
void NewDocument();
// Insert a file's text at the caret (after a selection) as one undoable step.
ReadResult InsertFile(const std::wstring& path);
// Put the caret where the file history left it for this path, when the user
// wants that (Option2).
void RestoreRememberedCaret(const std::wstring& path);

// The open flow of every list that names a file (history, favourites):
// the save question, then the load and the remembered caret.
void OpenChosenDocument(HWND owner, const std::wstring& path);
// "%s - オリンダ" with the document's file name, or the untitled title.
void ShowDocumentTitle();

void NewCommand(HWND mainWindow, LPARAM);               // 501
void SaveCommand(HWND mainWindow, LPARAM);              // 502
void SaveAsCommand(HWND mainWindow, LPARAM);            // 503
void OpenCommand(HWND mainWindow, LPARAM);              // 504
void OpenFromHistoryCommand(HWND mainWindow, LPARAM);   // 505
void InsertFileCommand(HWND mainWindow, LPARAM);        // 506
void SaveWithEncodingCommand(HWND mainWindow, LPARAM);  // 509
void ReloadWithEncodingCommand(HWND mainWindow, LPARAM);  // 525
