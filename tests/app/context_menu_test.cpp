#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "app/commands.h"
#include "core/editor_control.h"
#include "speech/speech.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

// The first command and the item count of the popup menu that is open, read
// from the menu window itself; the menu is then closed.
using OpenedMenu = std::pair<UINT, int>;
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
    g_opened = {GetMenuItemID(menu, 0), GetMenuItemCount(menu)};
    EndMenu();
}

class ContextMenu : public MainWindowTest {
protected:
    OpenedMenu OpenWithApplicationsKey() {
        g_opened = {0, -1};
        SetTimer(nullptr, 0, 50, ReadAndCloseMenu);
        SendCommand(kCmdContextMenu);
        return g_opened;
    }
};

TEST_F(ContextMenu, FitsAnEmptyDocumentTextAndASelectionAndOnlyPcTalkerHearsIt) {
    SendMessageW(EditorWindow(), EM_SETREADONLY, TRUE, 0);
    EXPECT_EQ(OpenWithApplicationsKey(), OpenedMenu(514, 4));

    SetEditorText(L"some text");
    EXPECT_EQ(OpenWithApplicationsKey(), OpenedMenu(511, 7));

    CurrentEditor().Select(0, 4);
    EXPECT_EQ(OpenWithApplicationsKey(), OpenedMenu(512, 7));
    EXPECT_TRUE(NothingHeard()) << "only PC-Talker users hear the menu open";
    SetSpeechEngine(kPcTalker);
    OpenWithApplicationsKey();
    EXPECT_EQ(SpokenTexts("PCTKPReadExW"), std::vector<std::wstring>{L"メニューオープン [5,1,0]"});
}

}  // namespace
