// The shipped command list names every key and menu command, and the program
// carries its version.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/file_io.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

// As command.txt writes keys: "Control+Shift+A", "Alt+テンキー0", "F10".
std::wstring KeyName(const ACCEL& accel) {
    if (!(accel.fVirt & FVIRTKEY)) return std::wstring(L"Control+") + static_cast<wchar_t>(L'A' + accel.key - 1);
    std::wstring name = accel.fVirt & FCONTROL ? L"Control+" : L"";
    if (accel.fVirt & FSHIFT) name += L"Shift+";
    if (accel.fVirt & FALT) name += L"Alt+";
    const WORD key = accel.key;
    if (key >= VK_F1 && key <= VK_F24) return name + L"F" + std::to_wstring(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return name + L"テンキー" + std::to_wstring(key - VK_NUMPAD0);
    const std::pair<WORD, const wchar_t*> named[] = {{VK_ESCAPE, L"Esc"},      {VK_UP, L"上カーソル"},
                                                     {VK_DOWN, L"下カーソル"}, {VK_PRIOR, L"PageUp"},
                                                     {VK_NEXT, L"PageDown"},   {VK_APPS, L"アプリケーションキー"}};
    for (const auto& [code, text] : named)
        if (key == code) return name + text;
    return name + static_cast<wchar_t>(key);
}

void ExpectMenuCommandsListed(HMENU menu, const std::wstring& list) {
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        wchar_t label[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), label, 256, MF_BYPOSITION);
        const std::wstring command = std::wstring(label).substr(0, std::wstring(label).find(L"(&"));
        if (const HMENU submenu = GetSubMenu(menu, position)) ExpectMenuCommandsListed(submenu, list);
        else EXPECT_NE(list.find(command), std::wstring::npos) << "menu command " << GetMenuItemID(menu, position);
    }
}

TEST(CommandList, NamesEveryAcceleratorKeyAndMenuCommand) {
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(ExecutableFolder() + L"\\command.txt", 1 << 20, bytes));
    std::wstring list(bytes.size(), L'\0');
    list.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                        list.data(), static_cast<int>(list.size()))));
    ACCEL accels[100];
    const int count = CopyAcceleratorTableW(LoadAcceleratorsW(GetModuleHandleW(nullptr), L"ORA"), accels, 100);
    ASSERT_GT(count, 0);
    for (int index = 0; index < count; ++index) {
        // Ctrl+Enter, Ctrl+Num 1 and Ctrl+Num 2 are bound to nothing.
        if (accels[index].cmd == 499 || accels[index].cmd == 581 || accels[index].cmd == 582) continue;
        // Each line names its keys before "：", separated by "、".
        const std::wstring key = KeyName(accels[index]);
        EXPECT_TRUE(list.find(L"\n" + key + L"：") != std::wstring::npos ||
                    list.find(L"\n" + key + L"、") != std::wstring::npos ||
                    list.find(L"、" + key + L"：") != std::wstring::npos)
            << "key " << accels[index].cmd;
    }
    ExpectMenuCommandsListed(LoadMenuW(GetModuleHandleW(nullptr), L"ORM"), list);
}

TEST(VersionResource, IsFivePointZeroOne) {
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_VERSION);
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    // The fixed part follows the key "VS_VERSION_INFO" at a 32-bit boundary.
    const auto* fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(data + 40);
    ASSERT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 5));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 1));
}

}  // namespace
