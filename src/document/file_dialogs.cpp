#include "document/file_dialogs.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "core/choice_dialog.h"
#include "core/paths.h"
#include "core/settings.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "resources/document_ids.h"
#include "speech/speech.h"

namespace {


// Filters are pairs of NUL-terminated strings ending in an empty one.
const wchar_t kOpenFilters[] =
    L"全てのファイル(*.*)\0*.*\0テキストファイル(*.txt)\0*.txt\0HTMLファイル(*.html *.htm)\0*.html;*.htm\0"
    L"C言語ソース(*.c *.cpp)\0*.c;*.cpp\0";
const wchar_t kSaveFilters[] =
    L"テキストファイル(*.txt)\0*.txt\0HTMLファイル(*.html *.htm)\0*.html;*.htm\0"
    L"C言語ソース(*.c *.cpp)\0*.c;*.cpp\0全てのファイル(*.*)\0*.*\0";

bool RunFileDialog(HWND owner, const wchar_t* title, const wchar_t* filters, const wchar_t* defaultExtension,
                   DWORD flags, const std::wstring& startName, std::wstring& chosen) {
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
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY;
    const bool save = (flags & OFN_OVERWRITEPROMPT) != 0;
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) {
        // A chosen path too long for the program is no cancel: say why nothing happens.
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
            Speak(save ? L"保存できませんでした" : L"ファイルを開けませんでした", kAnswerDelayMs);
        return false;
    }
    chosen = path;
    return !chosen.empty();
}

std::wstring DefaultFolder() {
    return CurrentSettings().newDocumentFolder;
}

}  // namespace

bool AskFileToOpen(HWND owner, const std::wstring& startPath, std::wstring& chosen) {
    const std::wstring start = startPath.empty() ? DefaultFolder() + L"\\*" : startPath;
    return RunFileDialog(owner, L"テキストファイルを開く", kOpenFilters, L"txt", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                         start, chosen);
}

bool AskFileToSave(HWND owner, std::wstring& chosen) {
    const std::wstring start = DocumentPath().empty()
                                   ? DefaultFolder() + L"\\" + DocumentName() + L".txt"
                                   : DocumentPath();
    return RunFileDialog(owner, L"名前を付けて保存", kSaveFilters, L"txt", OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                         start, chosen);
}

bool AskFileOfKindToOpen(HWND owner, const OpenDialogKind& kind, const std::wstring& startPath, std::wstring& chosen) {
    return RunFileDialog(owner, kind.title, kind.filters, kind.defaultExtension, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                         startPath, chosen);
}

bool AskEncoding(HWND owner, int& codePage) {
    std::vector<const wchar_t*> names;
    for (int index = 0; index < kEncodingCount; ++index) names.push_back(EncodingDisplayName(EncodingAtIndex(index)));
    int index = 0;
    if (!ChooseFromDropDown(owner, L"CodeDialog", IDC_ENCODING_COMBO, names, index) || index < 0) return false;
    codePage = EncodingAtIndex(index);
    return true;
}
