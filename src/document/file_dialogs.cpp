#include "document/file_dialogs.h"

#include <commdlg.h>

#include <algorithm>

#include "app/main_window.h"
#include "app/paths.h"
#include "app/settings.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "resources/document_ids.h"

namespace {

// Filters are pairs of NUL-terminated strings ending in an empty one.
const wchar_t kOpenFilters[] =
    L"全てのファイル(*.*)\0*.*\0テキストファイル(*.txt)\0*.txt\0HTMLファイル(*.html *.htm)\0*.html;*.htm\0"
    L"C言語ソース(*.c *.cpp)\0*.c;*.cpp\0";
const wchar_t kSaveFilters[] =
    L"テキストファイル(*.txt)\0*.txt\0HTMLファイル(*.html *.htm)\0*.html;*.htm\0"
    L"C言語ソース(*.c *.cpp)\0*.c;*.cpp\0全てのファイル(*.*)\0*.*\0";

bool RunFileDialog(HWND owner, const wchar_t* title, const wchar_t* filters, DWORD flags,
                   const std::wstring& startName, std::wstring& chosen) {
    wchar_t path[kPathBufferUnits] = {};
    if (FitsPathBuffer(startName)) std::copy(startName.begin(), startName.end(), path);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = kPathBufferUnits;
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = L"txt";
    dialog.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY;
    const bool save = (flags & OFN_OVERWRITEPROMPT) != 0;
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return false;
    chosen = path;
    return !chosen.empty();
}

std::wstring DefaultFolder() {
    return CurrentSettings().newDocumentFolder;
}

struct EncodingDialogData {
    int index;
};

INT_PTR CALLBACK EncodingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const auto* data = reinterpret_cast<EncodingDialogData*>(lParam);
        const HWND combo = GetDlgItem(dialog, IDC_ENCODING_COMBO);
        for (int index = 0; index < kEncodingCount; ++index)
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(EncodingDisplayName(EncodingAtIndex(index))));
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(data->index), 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* data = reinterpret_cast<EncodingDialogData*>(GetWindowLongPtrW(dialog, DWLP_USER));
            data->index = static_cast<int>(SendDlgItemMessageW(dialog, IDC_ENCODING_COMBO, CB_GETCURSEL, 0, 0));
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

bool AskFileToOpen(HWND owner, const std::wstring& startPath, std::wstring& chosen) {
    const std::wstring start = startPath.empty() ? DefaultFolder() + L"\\*" : startPath;
    return RunFileDialog(owner, L"テキストファイルを開く", kOpenFilters, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, start,
                         chosen);
}

bool AskFileToSave(HWND owner, std::wstring& chosen) {
    const std::wstring start = DocumentPath().empty()
                                   ? DefaultFolder() + L"\\無題" + std::to_wstring(UntitledNumber()) + L".txt"
                                   : DocumentPath();
    return RunFileDialog(owner, L"名前を付けて保存", kSaveFilters, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, start,
                         chosen);
}

bool AskEncoding(HWND owner, int& codePage) {
    EncodingDialogData data{0};
    if (DialogBoxParamW(GetModuleHandleW(nullptr), L"CodeDialog", owner, EncodingDialogProc,
                        reinterpret_cast<LPARAM>(&data)) != IDOK ||
        data.index < 0)
        return false;
    codePage = EncodingAtIndex(data.index);
    return true;
}
