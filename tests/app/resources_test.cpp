// The compiled resources, as the program loads them.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/commands.h"
#include "core/window_text.h"

namespace {

// Bound on purpose to nothing: Ctrl+Enter, Ctrl+Num 1 and Ctrl+Num 2.
const std::set<WORD> kWithoutAction = {499, 581, 582};

// The fixed menu labels repeat these keys within one menu; Windows then
// moves through the items that share the key.
const std::map<std::wstring, std::wstring> kRepeatedMenuKeys = {
    {L"ファイル(&F)", L"B"}, {L"編集(&E)", L"E"}, {L"検索(&S)", L"FH"}, {L"読み(&R)", L"34567890"}};

// Shortcut labels without an accelerator of their own: the editor handles
// Ctrl+A, X, V and Z itself.
const std::set<WORD> kLabelWithoutAccelerator = {511, 513, 514, 515};

using KeyStroke = std::pair<BYTE, WORD>;  // FVIRTKEY with modifiers, virtual key

wchar_t AccessKey(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] != L'&') return static_cast<wchar_t>(towupper(text[i + 1]));
        ++i;
    }
    return 0;
}

struct MenuCommand {
    WORD id;
    std::wstring shortcut;  // the label's text after the tab
};

// Collects the commands of a menu and its submenus and checks each level's
// access keys.
void WalkMenu(HMENU menu, const std::wstring& name, std::vector<MenuCommand>& commands) {
    const auto repeats = kRepeatedMenuKeys.find(name);
    std::set<wchar_t> keys;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        // A submenu's state holds its item count where an item's holds the separator flag.
        const HMENU submenu = GetSubMenu(menu, position);
        if (!submenu && (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR)) continue;
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
        const std::wstring label = text;
        const size_t tab = label.find(L'\t');
        const wchar_t key = AccessKey(label.substr(0, tab));
        EXPECT_NE(key, 0) << name << " > " << label << ": no access key";
        if (key && !keys.insert(key).second && (repeats == kRepeatedMenuKeys.end() ||
                                                repeats->second.find(key) == std::wstring::npos))
            ADD_FAILURE() << name << " > " << label << ": access key used twice in this menu";
        if (submenu) WalkMenu(submenu, label, commands);
        else commands.push_back({static_cast<WORD>(GetMenuItemID(menu, position)),
                                 tab == std::wstring::npos ? L"" : label.substr(tab + 1)});
    }
}

std::vector<MenuCommand> MenuCommands() {
    std::vector<MenuCommand> commands;
    const HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), L"ORM");
    const HMENU context = LoadMenuW(GetModuleHandleW(nullptr), L"RMenu");
    EXPECT_TRUE(bar && context);
    if (bar) WalkMenu(bar, L"ORM", commands);
    // The three context menus are shown one at a time: each is a menu of its own.
    for (int index = 0; context && index < GetMenuItemCount(context); ++index)
        WalkMenu(GetSubMenu(context, index), L"RMenu " + std::to_wstring(index), commands);
    DestroyMenu(bar);
    DestroyMenu(context);
    return commands;
}

// The accelerator table by key. A control character (matched on WM_CHAR) is
// the same key as Ctrl with its letter.
std::multimap<KeyStroke, WORD> Accelerators() {
    const HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"ORA");
    std::vector<ACCEL> entries(static_cast<size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
    std::multimap<KeyStroke, WORD> keys;
    for (const ACCEL& entry : entries) {
        BYTE flags = entry.fVirt & (FVIRTKEY | FSHIFT | FCONTROL | FALT);
        WORD key = entry.key;
        if (!(flags & FVIRTKEY) && key >= 1 && key <= 26) {
            flags = FVIRTKEY | FCONTROL;
            key = static_cast<WORD>('A' + key - 1);
        }
        keys.emplace(KeyStroke{flags, key}, entry.cmd);
    }
    return keys;
}

// The key a shortcut label names ("Control+Shift+A", "F3", "Control+上カーソル"),
// or {0, 0} when the label names none this test knows.
KeyStroke KeyOfLabel(std::wstring label) {
    BYTE flags = FVIRTKEY;
    const std::pair<const wchar_t*, BYTE> modifiers[] = {{L"Control+", FCONTROL}, {L"Shift+", FSHIFT}, {L"Alt+", FALT}};
    for (const auto& [prefix, flag] : modifiers) {
        if (label.rfind(prefix, 0) != 0) continue;
        flags |= flag;
        label.erase(0, wcslen(prefix));
    }
    if (label == L"上カーソル") return {flags, VK_UP};
    if (label == L"下カーソル") return {flags, VK_DOWN};
    if (label.size() == 1 && ((label[0] >= L'A' && label[0] <= L'Z') || (label[0] >= L'0' && label[0] <= L'9')))
        return {flags, label[0]};
    const int function = label.size() >= 2 && label[0] == L'F' ? _wtoi(label.c_str() + 1) : 0;
    if (function >= 1 && function <= 12) return {flags, static_cast<WORD>(VK_F1 + function - 1)};
    return {0, 0};
}

TEST(Resources, EveryCommandActsEveryKeyIsBoundOnceAndShortcutLabelsNameTheirKeys) {
    const std::vector<MenuCommand> commands = MenuCommands();
    const std::multimap<KeyStroke, WORD> accelerators = Accelerators();
    std::set<WORD> sent;
    for (const MenuCommand& command : commands) sent.insert(command.id);
    for (const auto& [key, id] : accelerators) sent.insert(id);
    for (WORD id : sent)
        EXPECT_TRUE(kWithoutAction.count(id) || HasCommandAction(id))
            << "command " << id << " is sent but has no action";

    for (auto entry = accelerators.begin(); entry != accelerators.end(); entry = accelerators.upper_bound(entry->first))
        EXPECT_EQ(accelerators.count(entry->first), 1u)
            << "key 0x" << std::hex << entry->first.second << " with flags 0x" << int(entry->first.first)
            << " is bound more than once, first to " << std::dec << entry->second;

    for (const MenuCommand& command : commands) {
        // Keypad keys are hot keys of the audio player, not accelerators.
        if (command.shortcut.empty() || command.shortcut.rfind(L"テンキー", 0) == 0 ||
            kLabelWithoutAccelerator.count(command.id))
            continue;
        const KeyStroke key = KeyOfLabel(command.shortcut);
        ASSERT_NE(key.second, 0) << "unreadable shortcut label " << command.shortcut;
        const auto bound = accelerators.find(key);
        EXPECT_TRUE(bound != accelerators.end() && bound->second == command.id)
            << "command " << command.id << " is labelled " << command.shortcut << " but that key does not send it";
    }
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(
        IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<uintptr_t>(name)) : std::wstring(name));
    return TRUE;
}

// Screen readers name a field by the label right before it in tab order,
// and an access key that repeats reaches only one of its controls. Every
// dialog template is made, hidden, and its controls walked in that order.
TEST(Resources, EveryDialogFieldFollowsItsLabelAndAccessKeysAreUnique) {
    std::vector<std::wstring> dialogs;
    EnumResourceNamesW(GetModuleHandleW(nullptr), RT_DIALOG, CollectName, reinterpret_cast<LONG_PTR>(&dialogs));
    ASSERT_FALSE(dialogs.empty());
    for (const std::wstring& name : dialogs) {
        const HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), name.c_str(), nullptr, nullptr, 0);
        ASSERT_NE(dialog, nullptr) << name;
        std::set<wchar_t> keys;
        bool afterLabel = false;
        for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
            wchar_t className[64] = {};
            GetClassNameW(control, className, 64);
            const std::wstring text = WindowText(control);
            const bool isStatic = _wcsicmp(className, L"Static") == 0;
            const bool prefixed = !isStatic || !(GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX);
            const wchar_t key = prefixed ? AccessKey(text) : 0;
            if (key && !keys.insert(key).second) ADD_FAILURE() << name << ": access key of " << text << " repeats";
            // Buttons say what they are; an up-down control belongs to the field before it.
            const bool named =
                isStatic || _wcsicmp(className, L"Button") == 0 || _wcsicmp(className, UPDOWN_CLASSW) == 0;
            EXPECT_TRUE(named || afterLabel) << name << ": a " << className << " has no label right before it";
            afterLabel = isStatic && !text.empty();
        }
        DestroyWindow(dialog);
    }
}

}  // namespace
