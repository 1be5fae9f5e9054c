#include "app/choice_dialog.h"

namespace {

struct ChoiceDialogData {
    int comboId;
    const std::vector<const wchar_t*>* names;
    int index;
};

INT_PTR CALLBACK ChoiceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const auto* data = reinterpret_cast<ChoiceDialogData*>(lParam);
        const HWND combo = GetDlgItem(dialog, data->comboId);
        for (const wchar_t* name : *data->names) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        // A value outside the list selects nothing.
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(data->index), 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* data = reinterpret_cast<ChoiceDialogData*>(GetWindowLongPtrW(dialog, DWLP_USER));
            data->index = static_cast<int>(SendDlgItemMessageW(dialog, data->comboId, CB_GETCURSEL, 0, 0));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

bool ChooseFromDropDown(HWND owner, const wchar_t* dialogName, int comboId, const std::vector<const wchar_t*>& names,
                        int& index) {
    ChoiceDialogData data{comboId, &names, index};
    if (DialogBoxParamW(GetModuleHandleW(nullptr), dialogName, owner, ChoiceDialogProc,
                        reinterpret_cast<LPARAM>(&data)) != IDOK)
        return false;
    index = data.index;
    return true;
}
