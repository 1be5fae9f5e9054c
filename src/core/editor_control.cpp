#include "core/editor_control.h"

#include <richedit.h>

#include <cwchar>

#include "core/settings.h"

namespace {

HWND g_editor = nullptr;
WNDPROC g_controlProc = nullptr;
WNDPROC g_keyHandler = nullptr;

constexpr LONG kFontHeightTwips = 240;

// What every editor control gets while it is still empty: plain text (a
// text beginning with "{\rtf" stays text, and a paste brings no formatting
// or objects) with the control's multi-level undo, the font and the limit.
// The text mode can be switched only while the control is empty.
HWND MakeControl(HWND parent, DWORD style, DWORD extendedStyle, int id, const RECT& place) {
    const HWND control = CreateWindowExW(extendedStyle, MSFTEDIT_CLASS, L"", style, place.left, place.top,
                                         place.right - place.left, place.bottom - place.top, parent,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                         GetModuleHandleW(nullptr), nullptr);
    if (!control) return nullptr;
    if (SendMessageW(control, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0) != 0) {
        DestroyWindow(control);
        return nullptr;
    }
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_SIZE | CFM_FACE;
    format.yHeight = kFontHeightTwips;
    wcscpy_s(format.szFaceName, L"Yu Gothic UI");
    SendMessageW(control, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SendMessageW(control, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(kEditorTextLimit));
    // The main window learns of every change to keep the recovery copy.
    SendMessageW(control, EM_SETEVENTMASK, 0, ENM_CHANGE);
    g_controlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_keyHandler)));
    return control;
}

}  // namespace

HWND CreateEditorControl(HWND mainWindow, WNDPROC keyHandler) {
    g_keyHandler = keyHandler;
    g_editor = MakeControl(mainWindow,
                           WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                               ES_AUTOHSCROLL,
                           0, kEditorControlId, RECT{});
    return g_editor;
}

HWND RenewEditorControl() {
    const HWND old = g_editor;
    const HWND parent = GetParent(old);
    RECT place{};
    if (!GetWindowRect(old, &place)) return nullptr;
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    const HWND fresh = MakeControl(parent, static_cast<DWORD>(GetWindowLongPtrW(old, GWL_STYLE)),
                                   static_cast<DWORD>(GetWindowLongPtrW(old, GWL_EXSTYLE)), GetDlgCtrlID(old), place);
    if (!fresh) return nullptr;
    SendMessageW(fresh, EM_EXLIMITTEXT, 0, SendMessageW(old, EM_GETLIMITTEXT, 0, 0));
    const Editor editor(fresh);
    editor.SetReadOnly(Editor(old).IsReadOnly());
    // Word wrap is applied from its setting wherever it changes.
    editor.SetWordWrap(CurrentSettings().wordWrap == 1);
    int numerator = 0;
    int denominator = 0;
    if (SendMessageW(old, EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator), reinterpret_cast<LPARAM>(&denominator)) &&
        numerator > 0 && denominator > 0)
        SendMessageW(fresh, EM_SETZOOM, static_cast<WPARAM>(numerator), static_cast<LPARAM>(denominator));
    SetWindowPos(fresh, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool focused = GetFocus() == old;
    g_editor = fresh;
    if (focused) SetFocus(fresh);
    DestroyWindow(old);
    return fresh;
}

LRESULT CallEditorControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(g_controlProc, window, message, wParam, lParam);
}

HWND EditorWindow() {
    return g_editor;
}

Editor CurrentEditor() {
    return Editor(g_editor);
}
