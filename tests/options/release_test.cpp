#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "document/encodings.h"
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

struct MenuCommand {
    std::wstring name;      // as command.txt names it: "再生スピード、上げる" below a submenu
    std::wstring shortcut;  // the label after the tab, if any
};

void CollectMenuCommands(HMENU menu, const std::wstring& prefix, std::map<UINT, MenuCommand>& commands) {
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
        const std::wstring label(text);
        const std::wstring name = prefix + label.substr(0, label.find(L"(&"));
        const size_t tab = label.find(L'\t');
        if (const HMENU submenu = GetSubMenu(menu, position)) CollectMenuCommands(submenu, name + L"、", commands);
        else commands[GetMenuItemID(menu, position)] = {name, tab == std::wstring::npos ? L"" : label.substr(tab + 1)};
    }
}

// Each line "key、key：command（note）" as command → keys.
std::map<std::wstring, std::vector<std::wstring>> ListedKeys(const std::wstring& list) {
    std::map<std::wstring, std::vector<std::wstring>> listed;
    std::wistringstream lines(list);
    std::wstring line;
    while (std::getline(lines, line)) {
        const size_t colon = line.find(L'：');
        if (colon == std::wstring::npos) continue;
        const size_t note = std::min(line.find(L'（', colon), line.find(L'\r', colon));
        std::vector<std::wstring>& keys = listed[line.substr(colon + 1, note - colon - 1)];
        for (size_t start = 0; start <= colon;) {
            const size_t end = std::min(line.find(L'、', start), colon);
            keys.push_back(line.substr(start, end - start));
            start = end + 1;
        }
    }
    return listed;
}

TEST(CommandList, PairsEveryKeyAndMenuCommandWithItsLine) {
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(ExecutableFolder() + L"\\command.txt", 1 << 20, bytes));
    const auto listed =
        ListedKeys(DecodeBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), kUtf8));
    const auto listsKey = [&listed](const std::wstring& command, const std::wstring& key) {
        const auto found = listed.find(command);
        return found != listed.end() && std::count(found->second.begin(), found->second.end(), key) > 0;
    };

    std::map<UINT, MenuCommand> commands;
    const HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), L"ORM");
    for (int index = 0; index < GetMenuItemCount(bar); ++index)
        CollectMenuCommands(GetSubMenu(bar, index), L"", commands);
    for (const auto& [id, command] : commands) {
        if (command.shortcut.empty()) EXPECT_EQ(listed.count(command.name), 1u) << command.name;
        else EXPECT_TRUE(listsKey(command.name, command.shortcut)) << command.name << " " << command.shortcut;
    }

    // Keys that no menu shows.
    commands[500].name = L"範囲選択のキャンセル";
    commands[549].name = L"20行前へ移動";
    commands[550].name = L"20行後ろへ移動";
    commands[571].name = L"右クリックメニューを開く";
    ACCEL accels[100];
    const int count = CopyAcceleratorTableW(LoadAcceleratorsW(GetModuleHandleW(nullptr), L"ORA"), accels, 100);
    for (int index = 0; index < count; ++index) {
        // Ctrl+Enter, Ctrl+Num 1 and Ctrl+Num 2 are bound to nothing.
        if (accels[index].cmd == 499 || accels[index].cmd == 581 || accels[index].cmd == 582) continue;
        const auto command = commands.find(accels[index].cmd);
        ASSERT_NE(command, commands.end()) << accels[index].cmd;
        EXPECT_TRUE(listsKey(command->second.name, KeyName(accels[index])))
            << command->second.name << " " << KeyName(accels[index]);
    }
}

}  // namespace
