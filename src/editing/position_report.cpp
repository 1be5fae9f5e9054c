#include "editing/position_report.h"

#include <algorithm>
#include <string>

#include "app/editor.h"
#include "editing/range_selection.h"
#include "speech/speech.h"

namespace {

std::wstring LineColumnText(const LineColumn& place) {
    return std::to_wstring(place.line) + L"行" + std::to_wstring(place.column) + L"文字";
}

// The control holds every line break as one CR.
long LineBreaksIn(const std::wstring& text) {
    return static_cast<long>(std::count(text.begin(), text.end(), L'\r'));
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

void SpeakSelectionState(const Editor& editor) {
    if (IsRangeSelectionOn()) {
        Speak(LineColumnText(LineColumnOf(editor, RangeStartPosition())) + L"が範囲選択の始点として設定されています",
              100);
        return;
    }
    const Selection selection = editor.GetSelection();
    if (selection.IsEmpty()) {
        Speak(L"範囲選択なし", 0);
        return;
    }
    const long breaks = LineBreaksIn(editor.TextRange(selection.start, selection.end));
    Speak(LineColumnText(LineColumnOf(editor, selection.start)) + L"から" +
              LineColumnText(LineColumnOf(editor, selection.end - 1)) + L"まで" +
              std::to_wstring(selection.end - selection.start - breaks) + L"文字が範囲選択されています",
          100);
}

void SpeakCount(const Editor& editor, CountKind kind) {
    if (kind == CountKind::kLines) {
        Speak(std::to_wstring(editor.LineCount()) + L"行", 100);
        return;
    }
    const std::wstring text = editor.EditorText();
    const long length = static_cast<long>(text.size());
    if (kind == CountKind::kCharacters)
        Speak(std::to_wstring(length - LineBreaksIn(text)) + L"文字", 100);
    else
        Speak(L"改行文字を含めて" + std::to_wstring(length) + L"文字", 100);
}
