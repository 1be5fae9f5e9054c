#include "core/system_library.h"

#include "core/paths.h"

void RestrictLibrarySearch() {
    // Looked up, not imported: Windows 7 has it only with an update, and
    // without it the program must still start.
    const auto setDirectories =
        SystemFunction<BOOL(WINAPI*)(DWORD)>(L"kernel32.dll", "SetDefaultDllDirectories");
    if (setDirectories && setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
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

HMODULE LoadSystemLibrary(const wchar_t* name) {
    wchar_t folder[kPathBufferUnits] = {};
    const UINT length = GetSystemDirectoryW(folder, kPathBufferUnits);
    if (length == 0 || length >= kPathBufferUnits) return nullptr;
    return LoadLibraryFrom(folder, name);
}
