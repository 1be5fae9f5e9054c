#include "core/editor_control.h"

#include <richedit.h>

#include <cwchar>

namespace {

HWND g_editor = nullptr;
WNDPROC g_controlProc = nullptr;

constexpr LONG kFontHeightTwips = 240;
constexpr LPARAM kTextLimit = 104857600;

}  // namespace

HWND CreateEditorControl(HWND mainWindow, WNDPROC keyHandler) {
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
        SetWindowLongPtrW(g_editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keyHandler)));
    SendMessageW(g_editor, EM_EXLIMITTEXT, 0, kTextLimit);
    return g_editor;
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
