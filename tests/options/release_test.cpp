// The shipped command list names every key and menu command the program has,
// and the program carries its version.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "core/file_io.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

std::wstring CommandList() {
    std::string bytes;
    ReadFileBytes(ExecutableFolder() + L"\\command.txt", 1 << 20, bytes);
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                        text.data(), static_cast<int>(text.size()))));
    return text;
}

// Each line "keys：command" names its keys before the colon, separated by "、".
std::set<std::wstring> ListedKeys(const std::wstring& text) {
    std::set<std::wstring> keys;
    size_t lineStart = 0;
    while (lineStart < text.size()) {
        const size_t lineEnd = std::min(text.find(L'\n', lineStart), text.size());
        const size_t colon = text.find(L'：', lineStart);
        for (size_t start = lineStart; colon < lineEnd && start < colon;) {
            const size_t end = std::min(text.find(L'、', start), colon);
            keys.insert(text.substr(start, end - start));
            start = end + 1;
        }
        lineStart = lineEnd + 1;
    }
    return keys;
}

std::wstring KeyName(const ACCEL& accel) {
    if (!(accel.fVirt & FVIRTKEY)) return std::wstring(L"Control+") + static_cast<wchar_t>(L'A' + accel.key - 1);
    std::wstring name;
    if (accel.fVirt & FCONTROL) name += L"Control+";
    if (accel.fVirt & FSHIFT) name += L"Shift+";
    if (accel.fVirt & FALT) name += L"Alt+";
    const WORD key = accel.key;
    if (key >= VK_F1 && key <= VK_F24) return name + L"F" + std::to_wstring(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return name + L"テンキー" + std::to_wstring(key - VK_NUMPAD0);
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return name + static_cast<wchar_t>(key);
    switch (key) {
    case VK_ESCAPE: return name + L"Esc";
    case VK_UP: return name + L"上カーソル";
    case VK_DOWN: return name + L"下カーソル";
    case VK_PRIOR: return name + L"PageUp";
    case VK_NEXT: return name + L"PageDown";
    case VK_APPS: return name + L"アプリケーションキー";
    default: return name + L"?" + std::to_wstring(key);
    }
}

void ExpectMenuLabelsListed(HMENU menu, const std::wstring& text) {
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        wchar_t label[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), label, 256, MF_BYPOSITION);
        std::wstring command = label;
        command = command.substr(0, command.find(L'\t'));
        command = command.substr(0, command.find(L"(&"));
        if (const HMENU submenu = GetSubMenu(menu, position)) ExpectMenuLabelsListed(submenu, text);
        else EXPECT_NE(text.find(command), std::wstring::npos) << "menu command " << GetMenuItemID(menu, position);
    }
}

TEST(CommandList, NamesEveryAcceleratorKeyAndMenuCommand) {
    const std::wstring text = CommandList();
    ASSERT_FALSE(text.empty());
    const std::set<std::wstring> keys = ListedKeys(text);
    const HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"ORA");
    ACCEL accels[100];
    const int count = CopyAcceleratorTableW(table, accels, 100);
    ASSERT_GT(count, 0);
    for (int index = 0; index < count; ++index) {
        // Ctrl+Enter, Ctrl+Num 1 and Ctrl+Num 2 are bound to nothing.
        if (accels[index].cmd == 499 || accels[index].cmd == 581 || accels[index].cmd == 582) continue;
        EXPECT_EQ(keys.count(KeyName(accels[index])), 1u) << "key of command " << accels[index].cmd;
    }
    const HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), L"ORM");
    ExpectMenuLabelsListed(menu, text);
    DestroyMenu(menu);
}

TEST(VersionResource, IsFivePointZeroOne) {
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_VERSION);
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    const DWORD size = SizeofResource(nullptr, found);
    const VS_FIXEDFILEINFO* fixed = nullptr;
    for (DWORD offset = 0; offset + sizeof(VS_FIXEDFILEINFO) <= size && !fixed; offset += 4)
        if (reinterpret_cast<const VS_FIXEDFILEINFO*>(data + offset)->dwSignature == VS_FFI_SIGNATURE)
            fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(data + offset);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 5));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 1));
    const std::wstring strings(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    EXPECT_NE(strings.find(std::wstring(L"5.01", 5)), std::wstring::npos);
}

}  // namespace
