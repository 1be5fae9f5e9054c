#include "core/caret_position.h"

#include "core/editor.h"

LineColumn LineColumnOf(const Editor& editor, long position) {
    const long line = editor.LineFromPosition(position);
    return LineColumn{line + 1, position - editor.LineStart(line) + 1};
}

std::wstring LineColumnText(const LineColumn& place) {
    return std::to_wstring(place.line) + L"行" + std::to_wstring(place.column) + L"文字";
}

std::wstring FormatCaretPosition(const Editor& editor) {
    return LineColumnText(LineColumnOf(editor, editor.GetSelection().start));
}
