#include "core/outside_world.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "core/app_window.h"
#include "core/paths.h"

namespace {

bool ShellOpen(const std::wstring& target) {
    // No verb: the target's default action, which is not always "open".
    // ShellExecuteW reports success with a value above 32.
    const auto result = ShellExecuteW(MainWindow(), nullptr, target.c_str(), nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

HANDLE StartHidden(const std::wstring& program, const std::wstring& parameters) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The process handle is kept so that the caller can wait for this very
    // process and end it, whatever else runs from the same file.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info)) return nullptr;
    return info.hProcess;
}

int CALLBACK SelectStartFolder(HWND browser, UINT message, LPARAM, LPARAM startFolder) {
    if (message == BFFM_INITIALIZED) SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, startFolder);
    return 0;
}

bool BrowseForFolder(HWND owner, const std::wstring& title, const std::wstring& startFolder, std::wstring& chosen) {
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = SelectStartFolder;
    info.lParam = reinterpret_cast<LPARAM>(startFolder.c_str());
    PIDLIST_ABSOLUTE folder = SHBrowseForFolderW(&info);
    if (!folder) return false;
    wchar_t path[kPathBufferUnits] = {};
    const bool found = SHGetPathFromIDListW(folder, path) && path[0] != L'\0';
    CoTaskMemFree(folder);
    if (found) chosen = path;
    return found;
}

OutsideWorld g_outside{
    ShellOpen,
    StartHidden,
    BrowseForFolder,
    // The voices are wired in by the speech engine at start (InstallSapiVoices).
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace

OutsideWorld& Outside() {
    return g_outside;
}
