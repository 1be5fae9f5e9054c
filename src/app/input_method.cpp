#include "app/input_method.h"

#include <imm.h>

void SetInputMethodOpen(HWND control, bool open) {
    if (HIMC context = ImmGetContext(control)) {
        ImmSetOpenStatus(context, open ? TRUE : FALSE);
        ImmReleaseContext(control, context);
    }
}
