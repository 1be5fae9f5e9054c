#include "core/choice_dialog.h"

#include "core/input_dialog.h"

namespace {

struct ChoiceDialogData {
    int comboId;
    const std::vector<const wchar_t*>* names;
    int index;
};

void FillChoices(HWND dialog, ChoiceDialogData& data) {
    const HWND combo = GetDlgItem(dialog, data.comboId);
    for (const wchar_t* name : *data.names) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    // A value outside the list selects nothing.
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(data.index), 0);
}

void ReadChoice(HWND dialog, ChoiceDialogData& data) {
    data.index = static_cast<int>(SendDlgItemMessageW(dialog, data.comboId, CB_GETCURSEL, 0, 0));
}

}  // namespace

bool ChooseFromDropDown(HWND owner, const wchar_t* dialogName, int comboId, const std::vector<const wchar_t*>& names,
                        int& index) {
    ChoiceDialogData data{comboId, &names, index};
    if (!RunInputDialog(owner, dialogName, data, FillChoices, ReadChoice)) return false;
    index = data.index;
    return true;
}
