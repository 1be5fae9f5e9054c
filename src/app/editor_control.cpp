#include "app/editor_control.h"

#include <richedit.h>

#include <cwchar>

#include "audio/keypad_player.h"
#include "editing/position_report.h"
#include "speech/continuous_reading.h"
#include "speech/speech.h"

namespace {

HWND g_editor = nullptr;
WNDPROC g_controlProc = nullptr;

constexpr LONG kFontHeightTwips = 240;
constexpr LPARAM kTextLimit = 104857600;

bool CtrlIsDown() {
    return GetKeyState(VK_CONTROL) < 0;
}

// Announced on the key-down, before the control carries the key out.
void AnnounceEditingKey(WPARAM key) {
    const Editor editor(g_editor);
    switch (key) {
    case 'C':
        if (!editor.GetSelection().IsEmpty() && CtrlIsDown()) Speak(L"コピー", 100);
        break;
    case 'V':
        if (IsClipboardFormatAvailable(CF_TEXT) && CtrlIsDown()) Speak(L"貼り付け", 100);
        break;
    case 'X':
        if (!editor.GetSelection().IsEmpty() && CtrlIsDown()) Speak(L"切り取り", 100);
        break;
    case 'Z':
        if (editor.CanUndo() && CtrlIsDown()) Speak(L"元に戻す", 100);
        break;
    default:
        break;
    }
}

LRESULT CALLBACK EditorSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS:
        if (IsKeypadPlayerEnabled()) RegisterKeypadHotKeys();
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
        break;
    case WM_KEYUP:
        if ((wParam == VK_END || wParam == VK_HOME) && CtrlIsDown()) SpeakCaretPosition(Editor(window));
        break;
    default:
        break;
    }
    return CallWindowProcW(g_controlProc, window, message, wParam, lParam);
}

}  // namespace

HWND CreateEditorControl(HWND mainWindow) {
    g_editor = CreateWindowExW(0, MSFTEDIT_CLASS, L"",
                               WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                   ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                               0, 0, 0, 0, mainWindow, reinterpret_cast<HMENU>(kEditorControlId),
                               GetModuleHandleW(nullptr), nullptr);
    if (!g_editor) return nullptr;

    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_SIZE | CFM_FACE;
    format.yHeight = kFontHeightTwips;
    wcscpy_s(format.szFaceName, L"Yu Gothic UI");
    SendMessageW(g_editor, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));

    g_controlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(g_editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditorSubclassProc)));
    SendMessageW(g_editor, EM_EXLIMITTEXT, 0, kTextLimit);
    return g_editor;
}

HWND EditorWindow() {
    return g_editor;
}

Editor CurrentEditor() {
    return Editor(g_editor);
}
