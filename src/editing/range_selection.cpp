#include "editing/range_selection.h"

#include <algorithm>

#include "app/editor_control.h"
#include "editing/position_report.h"
#include "speech/speech.h"

namespace {
bool g_rangeMode = false;
long g_rangeStart = 0;
}  // namespace

bool IsRangeSelectionOn() {
    return g_rangeMode;
}

long RangeStartPosition() {
    return g_rangeStart;
}

void MarkRangeSelection(HWND, LPARAM) {
    const Editor editor = CurrentEditor();
    if (!g_rangeMode) {
        g_rangeStart = editor.GetSelection().start;
        g_rangeMode = true;
        Speak(L"範囲選択の開始位置を設定しました", 100);
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
