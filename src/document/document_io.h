#pragma once
// The document's text to and from files: load, insert, save and new, with
// their spoken answers. The commands and the save question build on these.
#include <windows.h>

#include <cstddef>
#include <string>

#include "core/editor_control.h"

// A load reads at most this many bytes; the editor holds at most this many
// characters.
constexpr size_t kMaxDocumentUnits = kEditorTextLimit;

enum class ReadResult { kDone, kUnreadable, kTooLarge };

// The spoken answer when a file could not be read (nothing for kDone).
void SpeakReadFailure(ReadResult result);
// "保存できませんでした".
void SpeakSaveFailure();

// Load a file into the editor as the document, detecting its encoding unless
// `codePage` names one (0 = detect). When the file cannot be read or is too
// large for the editor, the document stays exactly as it was; when the
// control then fails to take the text, the document becomes an empty
// untitled one (kUnreadable), so that no save writes part of it over the file.
ReadResult LoadDocument(const std::wstring& path, int codePage = 0);

// Write the editor text in the document encoding, for a safety copy: the
// document's path and the text the save question compares with stay as they
// are. A spoken copy says "保存しました"; a silent one is for copies the user
// did not ask for. Returns false, silently, when the file cannot be written;
// the file then keeps its old content.
enum class SaveAnswer { kSpoken, kSilent };
bool SaveDocumentTo(const std::wstring& path, SaveAnswer answer);

// Save the document over its own file; what was written becomes the text
// the save question compares with. Says "保存しました" on success only.
bool SaveDocumentInPlace();

enum class SaveOutcome { kSaved, kFailed, kCancelled };

// Save As: the dialog, then the save in `codePage`; the chosen path and the
// encoding become the document's only when the file was written.
SaveOutcome SaveThroughDialog(HWND owner, int codePage);

void NewDocument();

// Insert a file's text at the caret (after a selection) as one undoable step.
// kTooLarge, with nothing inserted, when the text would grow past what the
// editor holds.
ReadResult InsertFile(const std::wstring& path);
