#include "options/send_to_shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "core/outside_world.h"
#include "core/paths.h"

std::wstring SendToShortcutPath() {
    const std::wstring folder = Outside().sendToFolder();
    // Without the folder the link would land in a drive's root.
    if (folder.empty()) return {};
    const std::wstring path = folder + L"\\オリンダ.lnk";
    return FitsPathBuffer(path) ? path : std::wstring();
}

bool CreateProgramShortcut(const std::wstring& shortcutPath) {
    // A cut program path would point the link at another file.
    const std::wstring program = ProgramFilePath();
    if (program.empty()) return false;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool saved = false;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        saved = SUCCEEDED(link->SetPath(program.c_str())) && SUCCEEDED(link->SetDescription(L"")) &&
                SUCCEEDED(link->SetWorkingDirectory(L"")) &&
                SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                SUCCEEDED(file->Save(shortcutPath.c_str(), TRUE));
        if (file) file->Release();
        link->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return saved && FileExists(shortcutPath);
}
