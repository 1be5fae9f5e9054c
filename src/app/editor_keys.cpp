#include "app/editor_keys.h"

#include "audio/keypad_player.h"
#include "core/editor_control.h"
#include "core/whole_text.h"
#include "editing/text_commands.h"
#include "speech/continuous_reading.h"
#include "speech/speech.h"

namespace {

bool CtrlIsDown() {
    return GetKeyState(VK_CONTROL) < 0;
}

bool ShiftIsDown() {
    return GetKeyState(VK_SHIFT) < 0;
}

// Posted, so that the paste never runs inside the message that ended the
// reading (the focus leaving, a key).
void PasteAfterReading() {
    PostMessageW(EditorWindow(), WM_PASTE, 0, 0);
}

// The control's own paste is never reached (see PasteCommand). Ours may put
// a fresh control in place of the one being read, so during a reading the
// paste waits until the reading ends.
void Paste(HWND editor) {
    if (IsReading()) RunWhenReadingEnds(PasteAfterReading);
    else PasteCommand(GetParent(editor), 0);
}

// Announced on the key-down, before the control carries the key out.
void AnnounceEditingKey(WPARAM key) {
    const Editor editor = CurrentEditor();
    switch (key) {
    case 'C':
        if (!editor.GetSelection().IsEmpty() && CtrlIsDown()) Speak(L"コピー", kAnswerDelayMs);
        break;
    case 'V':
        if (IsClipboardFormatAvailable(CF_TEXT) && CtrlIsDown()) Speak(L"貼り付け", kAnswerDelayMs);
        break;
    case 'X':
        if (!editor.GetSelection().IsEmpty() && CtrlIsDown()) Speak(L"切り取り", kAnswerDelayMs);
        break;
    case 'Z':
        if ((editor.CanUndo() || UndoRestoresReplacedText()) && CtrlIsDown()) Speak(L"元に戻す", kAnswerDelayMs);
        break;
    default:
        break;
    }
}

}  // namespace

LRESULT CALLBACK EditorKeyHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS:
        RetakeKeypadHotKeys();
        break;
    case WM_KILLFOCUS:
        if (IsKeypadPlayerEnabled()) UnregisterKeypadHotKeys();
        if (IsReading()) {
            StopReading();
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_CONTROL && IsReading()) {
            // The key only stops the reading; the control never sees it.
            StopReading();
            return 0;
        }
        if (!IsReading()) AnnounceEditingKey(wParam);
        if ((wParam == 'V' && CtrlIsDown()) || (wParam == VK_INSERT && ShiftIsDown() && !CtrlIsDown())) {
            Paste(window);
            return 0;
        }
        // The text before a whole-text replacement is not the control's to
        // bring back. The control goes with it, so nothing is passed on.
        if (wParam == 'Z' && CtrlIsDown() && !IsReading() && UndoRestoresReplacedText()) {
            UndoEdit();
            return 0;
        }
        break;
    case WM_PASTE:
        Paste(window);
        return 0;
    case WM_KEYUP:
        if ((wParam == VK_END || wParam == VK_HOME) && CtrlIsDown()) SpeakCaretPosition(Editor(window));
        break;
    default:
        break;
    }
    return CallEditorControlProc(window, message, wParam, lParam);
}
