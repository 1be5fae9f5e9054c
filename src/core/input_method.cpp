#include "core/input_method.h"

#include <imm.h>

void SetInputMethodOpen(HWND control, bool open) {
    if (HIMC context = ImmGetContext(control)) {
        ImmSetOpenStatus(context, open ? TRUE : FALSE);
        ImmReleaseContext(control, context);
    }
}

void SetComboBoxInputMethodOpen(HWND combo, bool open) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    SetInputMethodOpen(GetComboBoxInfo(combo, &info) && info.hwndItem ? info.hwndItem : combo, open);
}
