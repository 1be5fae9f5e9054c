#include "core/system_library.h"

#include <algorithm>

#include "core/paths.h"

namespace {

bool IsAbsoluteFolder(const std::wstring& folder) {
    return (folder.size() > 2 && folder[1] == L':' && folder[2] == L'\\') || folder.rfind(L"\\\\", 0) == 0;
}

}  // namespace

void RestrictLibrarySearch() {
    // Looked up, not imported: Windows 7 has it only with an update, and
    // without it the program must still start.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto restrict = kernel ? reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
                                       GetProcAddress(kernel, "SetDefaultDllDirectories")))
                                 : nullptr;
    if (restrict && restrict(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // At least never the current directory (the user's data folder).
    SetDllDirectoryW(L"");
}

HMODULE LoadLibraryFrom(const std::wstring& folder, const wchar_t* name) {
    if (folder.empty()) return nullptr;
    const std::wstring path = folder + L"\\" + name;
    // A cut path would name another file.
    if (!FitsPathBuffer(path)) return nullptr;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadLibraryOnPath(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (size == 0) return nullptr;
    std::wstring folders(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"PATH", folders.data(), size);
    if (length == 0 || length >= size) return nullptr;
    folders.resize(length);
    for (size_t start = 0; start < folders.size();) {
        const size_t end = std::min(folders.find(L';', start), folders.size());
        std::wstring folder = folders.substr(start, end - start);
        folder.erase(std::remove(folder.begin(), folder.end(), L'"'), folder.end());
        while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
        if (IsAbsoluteFolder(folder))
            if (const HMODULE library = LoadLibraryFrom(folder, name)) return library;
        start = end + 1;
    }
    return nullptr;
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    wchar_t folder[kPathBufferUnits] = {};
    const UINT length = GetSystemDirectoryW(folder, kPathBufferUnits);
    if (length == 0 || length >= kPathBufferUnits) return nullptr;
    return LoadLibraryFrom(folder, name);
}
