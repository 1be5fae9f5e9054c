#pragma once
// Where a position lies, in the words every caret move ends with:
// "%d行%d文字" (line and column, both from 1).
#include <string>

class Editor;

struct LineColumn {
    long line;
    long column;
};

LineColumn LineColumnOf(const Editor& editor, long position);
std::wstring LineColumnText(const LineColumn& place);
// "%d行%d文字" for the selection start.
std::wstring FormatCaretPosition(const Editor& editor);
