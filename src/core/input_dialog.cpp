#include "core/input_dialog.h"

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const auto* handlers = reinterpret_cast<const DialogHandlers*>(lParam);
        if (handlers->fill) handlers->fill(dialog);
        return TRUE;
    }
    const auto* handlers = reinterpret_cast<const DialogHandlers*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!handlers) return FALSE;
    if (message == WM_VKEYTOITEM) {
        if (LOWORD(wParam) != VK_DELETE || !handlers->deleteKey) return -1;
        handlers->deleteKey(dialog);
        // The list box does nothing more with the key.
        return -2;
    }
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (id == IDOK || (handlers->acceptButton != 0 && id == handlers->acceptButton)) {
        if (!handlers->accept || handlers->accept(dialog, id)) EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return handlers->command && handlers->command(dialog, id) ? TRUE : FALSE;
}

}  // namespace

bool RunDialog(HWND owner, const wchar_t* templateName, const DialogHandlers& handlers) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), templateName, owner, DialogProc,
                           reinterpret_cast<LPARAM>(&handlers)) == IDOK;
}
