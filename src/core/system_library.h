#pragma once
// Libraries are loaded by full path only. By name, Windows would look in the
// program's folder first, and a DLL of the same name planted there (say in a
// Downloads folder where the zip was unpacked) would run inside the program.
#include <windows.h>

#include <string>

// Keep the libraries that Windows loads for the program (and any loaded by
// name) to the system folder. Call first thing, before anything is loaded.
void RestrictLibrarySearch();

// A library from a folder, by its full path; its own libraries are looked for
// from there too. Null when the folder is empty or holds no such library.
HMODULE LoadLibraryFrom(const std::wstring& folder, const wchar_t* name);

// A library of Windows from the system folder, kept for the life of the
// process; null when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// An export of a library of Windows, or null.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
    const HMODULE module = LoadSystemLibrary(library);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
