#pragma once
// Changes of the editor's whole text. Under Wine the rich-edit control
// deletes text at a cost that grows with the square of its lines, and a load
// that records undo leaves the heap so fragmented that every later large load
// crawls. So a whole text never goes through the control's own delete: the
// control goes instead, and the new text is streamed into a fresh one made
// like it, recording no undo. The one undo step of a whole-text replacement
// is kept here.
#include <cstddef>
#include <string>
#include <string_view>

// Lines of a text whose breaks are CR LF, CR or LF: one more than its breaks.
size_t CountLines(std::wstring_view text);

// Whether the editor can take a text of this many units and lines without
// running the process out of memory or past its limit.
bool EditorCanHold(size_t units, size_t lines);

// The editor's text becomes `text` of a document just opened or made, in a
// fresh control in the given read-only state: nothing can be undone, the
// caret is at the start and the text counts as unmodified. False when the
// control did not take the whole text; the editor is then empty.
bool PutDocumentText(const std::wstring& text, bool readOnly);

enum class WholeTextChange { kDone, kTooLarge, kFailed };

// Replace the whole text by `text` (CR line breaks) with the caret at
// `caret`, as one step that undo takes back. Unless kDone, the text,
// selection and modified flag are as they were.
WholeTextChange ReplaceWholeText(const std::wstring& text, long caret);

// Whether undo will bring back the text before a whole-text replacement:
// the control has nothing of its own left to undo, and the text is not read-
// only.
bool UndoRestoresReplacedText();
// Undo: the control's own undo while it has something to undo (edits made
// after a replacement go first); then the text before the last whole-text
// replacement, with its selection and its modified flag.
void UndoEdit();
// The text kept for that undo belongs to the editor: it goes with the window.
void ForgetReplacedText();
