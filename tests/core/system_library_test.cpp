#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/file_io.h"
#include "core/system_library.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

// The libraries Windows loads from its own folder whatever the program's
// folder holds: ntdll and the KnownDLLs.
std::set<std::string> KnownLibraries() {
    std::set<std::string> names = {"ntdll.dll"};
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs", 0,
                      KEY_READ, &key) == ERROR_SUCCESS) {
        for (DWORD index = 0;; ++index) {
            char name[256] = {}, value[256] = {};
            DWORD nameSize = sizeof name, size = sizeof value - 1;
            if (RegEnumValueA(key, index, name, &nameSize, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size))
                break;
            names.insert(CharLowerA(value));
        }
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

TEST(SystemLibraries, TheProgramImportsOnlyWhatNoPlantedLibraryCanReplace) {
    std::string image;
    ASSERT_TRUE(ReadFileBytes(ExecutableFolder() + L"\\Orinda.exe", 64 << 20, image));
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        image.data() + reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data())->e_lfanew);
    // A place in the loaded program, found in the file through its section.
    const auto at = [&](DWORD address) -> const char* {
        const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers);
        for (WORD index = 0; index < headers->FileHeader.NumberOfSections; ++index, ++section)
            if (address >= section->VirtualAddress && address < section->VirtualAddress + section->SizeOfRawData)
                return image.data() + (address - section->VirtualAddress + section->PointerToRawData);
        return nullptr;
    };
    std::set<std::string> allowed = KnownLibraries();
    // The manifest names the common controls: Windows takes them from its side-by-side store.
    allowed.insert("comctl32.dll");
    const auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        at(headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress));
    ASSERT_NE(import, nullptr);
    for (; import->Name; ++import) {
        std::string name = at(import->Name);
        EXPECT_TRUE(allowed.count(CharLowerA(name.data()))) << name << " is imported";
    }

    // A library of Windows comes from the system folder only, never from beside the program.
    EXPECT_EQ(LoadSystemLibrary(L"PCTKUSR.dll"), nullptr);
}

}  // namespace
