#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "core/editor_control.h"
#include "speech/speech.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

// The first command and the item count of the popup menu that is open, read
// from the menu window itself; the menu is then closed.
struct OpenedMenu {
    UINT firstCommand = 0;
    int itemCount = -1;
};
OpenedMenu g_opened;

BOOL CALLBACK FindPopupMenu(HWND window, LPARAM lParam) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) == L"#32768" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(lParam) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ReadAndCloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menuWindow = nullptr;
    EnumWindows(FindPopupMenu, reinterpret_cast<LPARAM>(&menuWindow));
    if (!menuWindow) return;
    KillTimer(nullptr, timer);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    g_opened.firstCommand = GetMenuItemID(menu, 0);
    g_opened.itemCount = GetMenuItemCount(menu);
    EndMenu();
}

class ContextMenu : public MainWindowTest {
protected:
    OpenedMenu OpenWithApplicationsKey() {
        g_opened = OpenedMenu{};
        SetTimer(nullptr, 0, 50, ReadAndCloseMenu);
        SendCommand(kCmdContextMenu);
        return g_opened;
    }
};

TEST_F(ContextMenu, FitsAnEmptyDocumentTextAndASelectionAndOnlyPcTalkerHearsIt) {
    SendMessageW(EditorWindow(), EM_SETREADONLY, TRUE, 0);
    OpenedMenu menu = OpenWithApplicationsKey();
    EXPECT_EQ(menu.firstCommand, 514u);
    EXPECT_EQ(menu.itemCount, 4);

    SetEditorText(L"some text");
    menu = OpenWithApplicationsKey();
    EXPECT_EQ(menu.firstCommand, 511u);
    EXPECT_EQ(menu.itemCount, 7);

    CurrentEditor().Select(0, 4);
    menu = OpenWithApplicationsKey();
    EXPECT_EQ(menu.firstCommand, 512u);
    EXPECT_EQ(menu.itemCount, 7);
    EXPECT_TRUE(NothingHeard()) << "only PC-Talker users hear the menu open";
    SetSpeechEngine(kPcTalker);
    OpenWithApplicationsKey();
    EXPECT_EQ(SpokenTexts("PCTKPReadExW"), std::vector<std::wstring>{L"メニューオープン [5,1,0]"});
}

}  // namespace
