#pragma once
// Where the caret is, in the words every caret move ends with: "%d行%d文字",
// and the other reports of position, selection and size.
#include <string>

class Editor;

// Line and column (both from 1) of a position.
struct LineColumn {
    long line;
    long column;
};
LineColumn LineColumnOf(const Editor& editor, long position);

// "%d行%d文字" for the selection start.
std::wstring FormatCaretPosition(const Editor& editor);
void SpeakCaretPosition(const Editor& editor);

// The closing report of a marked range; both ends are inside the range.
void SpeakRangeSelected(const Editor& editor, long rangeStart, long rangeEnd);

// A marked range start, the selection without its line breaks, or none.
void SpeakSelectionState(const Editor& editor);

enum class CountKind { kLines, kCharacters, kCharactersWithLineBreaks };
void SpeakCount(const Editor& editor, CountKind kind);
