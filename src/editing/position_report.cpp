#include "editing/position_report.h"

#include <algorithm>
#include <string>

#include "core/caret_position.h"
#include "core/editor.h"
#include "speech/speech.h"

namespace {

// The control holds every line break as one CR.
long LineBreaksIn(const std::wstring& text) {
    return static_cast<long>(std::count(text.begin(), text.end(), L'\r'));
}

}  // namespace

void SpeakSelectionState(const Editor& editor) {
    const Selection selection = editor.GetSelection();
    if (selection.IsEmpty()) {
        Speak(L"範囲選択なし", kAtOnce);
        return;
    }
    const long breaks = LineBreaksIn(editor.TextRange(selection.start, selection.end));
    Speak(LineColumnText(LineColumnOf(editor, selection.start)) + L"から" +
              LineColumnText(LineColumnOf(editor, selection.end - 1)) + L"まで" +
              std::to_wstring(selection.end - selection.start - breaks) + L"文字が範囲選択されています",
          kAnswerDelayMs);
}

void SpeakCount(const Editor& editor, CountKind kind) {
    if (kind == CountKind::kLines) {
        Speak(std::to_wstring(editor.LineCount()) + L"行", kAnswerDelayMs);
        return;
    }
    // Lengths only: reading a large text whole would hold the answer up.
    const long length = editor.TextLength();
    if (kind == CountKind::kCharacters)
        Speak(std::to_wstring(length - editor.LineBreakCount()) + L"文字", kAnswerDelayMs);
    else
        Speak(L"改行文字を含めて" + std::to_wstring(length) + L"文字", kAnswerDelayMs);
}
