#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "core/system_library.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

std::string Lower(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name;
}

// The libraries Windows loads from its own folder whatever the program's
// folder holds: the KnownDLLs, and ntdll, which every process has.
std::set<std::string> KnownLibraries() {
    std::set<std::string> names = {"ntdll.dll"};
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs", 0,
                      KEY_READ, &key) == ERROR_SUCCESS) {
        char value[256];
        DWORD size = sizeof value;
        for (DWORD index = 0; RegEnumValueA(key, index, nullptr, nullptr, nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(value), &size) != ERROR_NO_MORE_ITEMS;
             ++index, size = sizeof value)
            names.insert(Lower(value));
        RegCloseKey(key);
    }
    // Wine's registry lists few or none: then Windows 10's own list stands in.
    if (names.size() < 10)
        names.insert({"advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll", "difxapi.dll",
                      "gdi32.dll", "gdiplus.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll",
                      "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll",
                      "sechost.dll", "setupapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
                      "wldap32.dll", "ws2_32.dll"});
    return names;
}

// The names in a program's import table, in lower case.
std::vector<std::string> ImportedLibraries(const std::string& image) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.data() + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(headers);
    const auto at = [&](DWORD address) {
        for (WORD index = 0; index < headers->FileHeader.NumberOfSections; ++index) {
            const IMAGE_SECTION_HEADER& section = sections[index];
            if (address >= section.VirtualAddress && address < section.VirtualAddress + section.SizeOfRawData)
                return image.data() + (address - section.VirtualAddress + section.PointerToRawData);
        }
        return static_cast<const char*>(nullptr);
    };
    std::vector<std::string> names;
    const auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        at(headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress));
    for (; import && import->Name; ++import) names.push_back(Lower(at(import->Name)));
    return names;
}

TEST(SystemLibraries, TheProgramImportsNothingThatAPlantedLibraryCouldReplace) {
    std::string image;
    ASSERT_TRUE(ReadFileBytes(ExecutableFolder() + L"\\Orinda.exe", 64 << 20, image));
    const std::vector<std::string> imported = ImportedLibraries(image);
    ASSERT_FALSE(imported.empty());
    std::set<std::string> allowed = KnownLibraries();
    // The manifest names the common controls: Windows takes them from its side-by-side store.
    allowed.insert("comctl32.dll");
    for (const std::string& name : imported) EXPECT_TRUE(allowed.count(name)) << name << " is imported";

    // A library of Windows comes from the system folder only, never from beside the program.
    EXPECT_NE(LoadSystemLibrary(L"winmm.dll"), nullptr);
    EXPECT_EQ(LoadSystemLibrary(L"PCTKUSR.dll"), nullptr);
}

TEST(SystemLibraries, PathIsSearchedByFullPathSkippingRelativeFolders) {
    const ScratchFolder folder(L"orinda_path_library");
    ASSERT_TRUE(CopyFileW((ExecutableFolder() + L"\\PCTKUSR.dll").c_str(), folder.File(L"on_path.dll").c_str(), FALSE));
    wchar_t path[4096] = {}, current[MAX_PATH] = {};
    GetEnvironmentVariableW(L"PATH", path, 4096);
    GetCurrentDirectoryW(MAX_PATH, current);
    SetCurrentDirectoryW(folder.Path().c_str());
    SetEnvironmentVariableW(L"PATH", L".;on_path");
    EXPECT_EQ(LoadLibraryOnPath(L"on_path.dll"), nullptr);
    SetEnvironmentVariableW(L"PATH", (L"C:\\nowhere;\"" + folder.Path() + L"\\\";").c_str());
    const HMODULE library = LoadLibraryOnPath(L"on_path.dll");
    EXPECT_NE(library, nullptr);
    if (library) FreeLibrary(library);
    SetEnvironmentVariableW(L"PATH", path);
    SetCurrentDirectoryW(current);
}

}  // namespace
