#include "core/outside_world.h"

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include "core/app_window.h"
#include "core/paths.h"
#include "core/system_library.h"

// The maker's host comes from the build (the CMake cache variable of the
// same name); without one the program never goes to the network.
#ifndef ORINDA_MAKER_HOST
#define ORINDA_MAKER_HOST ""
#endif

namespace {

// Without a network WinINet would wait a minute per step; the start-up
// check runs before the user can type.
constexpr DWORD kRequestTimeoutMs = 5000;

bool ShellOpen(const std::wstring& target) {
    // No verb: the target's default action, which is not always "open".
    // ShellExecuteW reports success with a value above 32.
    const auto result = ShellExecuteW(MainWindow(), nullptr, target.c_str(), nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

// The sound and internet libraries are not among those Windows always takes
// from its own folder: they are loaded from there at first use, never imported.
struct WinInet {
    decltype(&InternetOpenW) open;
    decltype(&InternetSetOptionW) setOption;
    decltype(&InternetOpenUrlW) openUrl;
    decltype(&HttpQueryInfoW) queryInfo;
    decltype(&InternetReadFile) readFile;
    decltype(&InternetCloseHandle) closeHandle;
    WinInet() {
        Find(open, "InternetOpenW");
        Find(setOption, "InternetSetOptionW");
        Find(openUrl, "InternetOpenUrlW");
        Find(queryInfo, "HttpQueryInfoW");
        Find(readFile, "InternetReadFile");
        Find(closeHandle, "InternetCloseHandle");
    }
    bool Loaded() const { return open && setOption && openUrl && queryInfo && readFile && closeHandle; }

private:
    template <typename Function>
    static void Find(Function& function, const char* name) {
        function = SystemFunction<Function>(L"wininet.dll", name);
    }
};

const WinInet& Internet() {
    static const WinInet functions;
    return functions;
}

bool SendMciString(const std::wstring& command, std::wstring& reply) {
    static const auto send = SystemFunction<decltype(&mciSendStringW)>(L"winmm.dll", "mciSendStringW");
    reply.clear();
    if (!send) return false;
    // Zeroed, so that a reply the device did not write reads as none.
    wchar_t buffer[128] = {};
    const MCIERROR error = send(command.c_str(), buffer, ARRAYSIZE(buffer), MainWindow());
    buffer[ARRAYSIZE(buffer) - 1] = L'\0';
    reply = error == 0 ? buffer : L"";
    return error == 0;
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

bool StartProgram(const std::wstring& program, const std::wstring& parameters) {
    const auto result =
        ShellExecuteW(nullptr, nullptr, program.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

int CALLBACK SelectStartFolder(HWND browser, UINT message, LPARAM, LPARAM startFolder) {
    if (message == BFFM_INITIALIZED) SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, startFolder);
    return 0;
}

bool BrowseForFolder(HWND owner, const std::wstring& title, const std::wstring& startFolder, std::wstring& chosen) {
    // The browser needs COM on this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = SelectStartFolder;
    info.lParam = reinterpret_cast<LPARAM>(startFolder.c_str());
    bool found = false;
    if (const PIDLIST_ABSOLUTE folder = SHBrowseForFolderW(&info)) {
        wchar_t path[kPathBufferUnits] = {};
        found = SHGetPathFromIDListW(folder, path) && path[0] != L'\0';
        CoTaskMemFree(folder);
        if (found) chosen = path;
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return found;
}

// A privilege the token does not hold counts as failure.
bool EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    const bool enabled = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) &&
                         AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                         GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return enabled;
}

bool SuspendSystem(bool hibernate) {
    // Sleep may still be allowed without the privilege.
    EnableShutdownPrivilege();
    return SetSystemPowerState(!hibernate, FALSE);
}

bool ShutDownSystem(bool force) {
    return EnableShutdownPrivilege() && ExitWindowsEx(EWX_SHUTDOWN | (force ? EWX_FORCE : 0), 0);
}

std::wstring MakerSite() {
    const std::wstring host = L"" ORINDA_MAKER_HOST;
    return host.empty() ? std::wstring() : L"https://" + host;
}

struct InternetHandle {
    HINTERNET handle;
    ~InternetHandle() {
        if (handle) Internet().closeHandle(handle);
    }
};

bool HttpGet(const std::wstring& url, size_t maxBytes, std::string& body) {
    body.clear();
    const WinInet& internet = Internet();
    if (!internet.Loaded()) return false;
    const InternetHandle session{internet.open(L"Orinda", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)};
    if (!session.handle) return false;
    DWORD timeout = kRequestTimeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        internet.setOption(session.handle, option, &timeout, sizeof timeout);
    const InternetHandle request{internet.openUrl(session.handle, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0)};
    if (!request.handle) return false;
    // A proxy's error page or a missing file is no answer.
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!internet.queryInfo(request.handle, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status != HTTP_STATUS_OK)
        return false;
    // The body may arrive in pieces smaller than asked for.
    std::string bytes(maxBytes, '\0');
    size_t filled = 0;
    while (filled < maxBytes) {
        DWORD read = 0;
        if (!internet.readFile(request.handle, bytes.data() + filled, static_cast<DWORD>(maxBytes - filled), &read))
            return false;
        if (read == 0) break;
        filled += read;
    }
    body = bytes.substr(0, filled);
    return true;
}

std::wstring SendToFolder() {
    const std::wstring folder = SpecialFolder(CSIDL_SENDTO);
    return FolderExists(folder) ? folder : std::wstring();
}

OutsideWorld g_outside{
    ShellOpen,
    StartHidden,
    StartProgram,
    BrowseForFolder,
    // The voices are wired in by the speech engine at start (InstallSapiVoices).
    nullptr,
    nullptr,
    nullptr,
    SendMciString,
    SuspendSystem,
    ShutDownSystem,
    MakerSite,
    HttpGet,
    SendToFolder,
};

}  // namespace

OutsideWorld& Outside() {
    return g_outside;
}
