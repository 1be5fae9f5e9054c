#include "app/input_dialog.h"

namespace {

struct DialogContext {
    const InputDialogSteps* steps;
    void* data;
};

INT_PTR CALLBACK InputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const auto* context = reinterpret_cast<DialogContext*>(lParam);
        context->steps->fill(dialog, context->data);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            const auto* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
            context->steps->read(dialog, context->data);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED) {
            const auto* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
            context->steps->command(dialog, LOWORD(wParam), context->data);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

bool RunUntypedInputDialog(HWND owner, const wchar_t* templateName, const InputDialogSteps& steps, void* data) {
    DialogContext context{&steps, data};
    return DialogBoxParamW(GetModuleHandleW(nullptr), templateName, owner, InputDialogProc,
                           reinterpret_cast<LPARAM>(&context)) == IDOK;
}
