#pragma once
// Dialogs whose one question is a choice from a drop-down list: the names
// are filled in, `index` is preselected, and OK hands the chosen index back.
#include <windows.h>

#include <vector>

// Returns whether the user confirmed a choice.
bool ChooseFromDropDown(HWND owner, const wchar_t* dialogName, int comboId, const std::vector<const wchar_t*>& names,
                        int& index);
