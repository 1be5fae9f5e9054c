#include "editing/position_report.h"

#include <algorithm>
#include <string>

#include "app/editor.h"
#include "speech/speech.h"

namespace {

std::wstring LineColumnText(const LineColumn& place) {
    return std::to_wstring(place.line) + L"行" + std::to_wstring(place.column) + L"文字";
}

}  // namespace

LineColumn LineColumnOf(const Editor& editor, long position) {
    const long line = editor.LineFromPosition(position);
    return LineColumn{line + 1, position - editor.LineStart(line) + 1};
}

std::wstring FormatCaretPosition(const Editor& editor) {
    return LineColumnText(LineColumnOf(editor, editor.GetSelection().start));
}

void SpeakCaretPosition(const Editor& editor) {
    Speak(FormatCaretPosition(editor), 100);
}

void SpeakRangeSelected(const Editor& editor, long rangeStart, long rangeEnd) {
    const long first = std::min(rangeStart, rangeEnd);
    const long last = std::max(rangeStart, rangeEnd);
    Speak(LineColumnText(LineColumnOf(editor, first)) + L"から" + LineColumnText(LineColumnOf(editor, last)) +
              L"まで" + std::to_wstring(last - first + 1) + L"文字を範囲選択しました",
          100);
}
