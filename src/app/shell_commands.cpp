#include "app/shell_commands.h"

#include <algorithm>

#include "core/caret_position.h"
#include "core/editor_control.h"
#include "editing/range_selection.h"
#include "speech/continuous_reading.h"
#include "speech/speech.h"

namespace {

HMENU g_contextMenus[3] = {};
constexpr long kPageLines = 20;

// The caret lands at the start of the line, so its place is known without
// asking the control again; and the answer goes before the move, which in a
// long text takes the control a while.
void MoveCaretToLine(long line) {
    const Editor editor = CurrentEditor();
    const long start = editor.LineStart(line);
    Speak(LineColumnText({line + 1, 1}), kAnswerDelayMs);
    editor.PlaceCaret(start);
}

}  // namespace

void LoadContextMenus() {
    if (g_contextMenus[0]) return;
    const HMENU resource = LoadMenuW(GetModuleHandleW(nullptr), L"RMenu");
    if (!resource) return;
    for (int index = 0; index < 3; ++index) g_contextMenus[index] = GetSubMenu(resource, index);
}

void CancelCommand(HWND, LPARAM) {
    if (CancelRangeSelection()) Speak(L"範囲選択をキャンセルしました", kAnswerDelayMs);
    if (IsReading()) StopReading();
}

void ExitCommand(HWND mainWindow, LPARAM) {
    SendMessageW(mainWindow, WM_CLOSE, 0, 0);
}

void PageUpCommand(HWND, LPARAM) {
    const Editor editor = CurrentEditor();
    const long line = editor.LineFromPosition(editor.GetSelection().start);
    MoveCaretToLine(std::max(line - kPageLines, 0L));
}

void PageDownCommand(HWND, LPARAM) {
    const Editor editor = CurrentEditor();
    const long line = editor.LineFromPosition(editor.GetSelection().start);
    MoveCaretToLine(std::min(line + kPageLines, editor.LineCount() - 1));
}

int ContextMenuIndex(bool textIsEmpty, bool selectionIsEmpty) {
    if (textIsEmpty) return 0;
    return selectionIsEmpty ? 1 : 2;
}

void ContextMenuCommand(HWND mainWindow, LPARAM lParam) {
    const Editor editor = CurrentEditor();
    const HMENU menu = g_contextMenus[ContextMenuIndex(editor.IsEmpty(), editor.GetSelection().IsEmpty())];
    if (!menu) return;
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(mainWindow, &point);
    if (SpeechEngine() == kPcTalker) Speak(L"メニューオープン", kAnswerDelayMs);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, point.x, point.y, 0, mainWindow, nullptr);
}
