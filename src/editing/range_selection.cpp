#include "editing/range_selection.h"

#include <algorithm>

#include "core/editor_control.h"
#include "core/caret_position.h"
#include "speech/speech.h"

namespace {
bool g_rangeMode = false;
long g_rangeStart = 0;


void SpeakRangeSelected(const Editor& editor, long rangeStart, long rangeEnd) {
    const long first = std::min(rangeStart, rangeEnd);
    const long last = std::max(rangeStart, rangeEnd);
    Speak(LineColumnText(LineColumnOf(editor, first)) + L"から" + LineColumnText(LineColumnOf(editor, last)) +
              L"まで" + std::to_wstring(last - first + 1) + L"文字を範囲選択しました",
          kAnswerDelayMs);
}

}  // namespace

bool IsRangeSelectionOn() {
    return g_rangeMode;
}

bool SpeakMarkedRangeStart(const Editor& editor) {
    if (!g_rangeMode) return false;
    Speak(LineColumnText(LineColumnOf(editor, g_rangeStart)) + L"が範囲選択の始点として設定されています", kAnswerDelayMs);
    return true;
}

void MarkRangeSelection(HWND, LPARAM) {
    const Editor editor = CurrentEditor();
    if (!g_rangeMode) {
        g_rangeStart = editor.GetSelection().start;
        g_rangeMode = true;
        Speak(L"範囲選択の開始位置を設定しました", kAnswerDelayMs);
        return;
    }
    const long rangeEnd = editor.GetSelection().start;
    editor.Select(std::min(g_rangeStart, rangeEnd), std::max(g_rangeStart, rangeEnd) + 1);
    g_rangeMode = false;
    SpeakRangeSelected(editor, g_rangeStart, rangeEnd);
}

bool CancelRangeSelection() {
    if (!g_rangeMode) return false;
    g_rangeMode = false;
    g_rangeStart = 0;
    return true;
}
