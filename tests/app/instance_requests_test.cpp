#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "core/editor_control.h"
#include "core/instance_requests.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

using OtherInstances = MainWindowTest;

TEST_F(OtherInstances, ACloseRequestWaitsForTheOpenDialogThenAsksTheSaveQuestion) {
    CurrentEditor().ReplaceSelection(L"unsaved");
    bool asked = false;
    bool keptUnderTheDialog = false;
    AnswerWith(L"保存確認", IDNO, &asked);
    AnswerDialog(L"行移動", [&](HWND box) {
        PostMessageW(window_, InstanceMessage(), 1, 0);
        Settle();
        keptUnderTheDialog = IsWindow(box) && IsWindow(window_) && !asked;
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    SendCommand(kCmdJumpToLine);
    EXPECT_TRUE(keptUnderTheDialog);
    EXPECT_TRUE(PumpUntil([this] { return !IsWindow(window_); }, 3000));
    EXPECT_TRUE(asked);
}

TEST_F(OtherInstances, AloneF6SaysSoAndShowsNoDialog) {
    bool shown = false;
    AnswerWith(L"オリンダのウィンドウ切り替え", IDCANCEL, &shown);
    PressKeys({VK_F6});
    EXPECT_TRUE(WaitForSpeech(L"別のオリンダは起動されていません", 2000));
    EXPECT_FALSE(shown);
}

}  // namespace
