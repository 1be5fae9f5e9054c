#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "core/editor_control.h"
#include "core/instance_requests.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

using CloseRequest = MainWindowTest;

TEST_F(CloseRequest, WaitsForTheOpenDialogThenAsksTheSaveQuestion) {
    CurrentEditor().ReplaceSelection(L"unsaved");
    bool asked = false;
    bool keptUnderTheDialog = false;
    AnswerWith(L"保存確認", IDNO, &asked);
    AnswerDialog(L"行移動", [&](HWND box) {
        PostMessageW(window_, InstanceMessage(), 1, 0);
        PumpMessages(300);
        keptUnderTheDialog = IsWindow(box) && IsWindow(window_) && !asked;
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    SendCommand(kCmdJumpToLine);
    EXPECT_TRUE(keptUnderTheDialog);
    EXPECT_TRUE(PumpUntil([this] { return !IsWindow(window_); }, 3000));
    EXPECT_TRUE(asked);
}

}  // namespace
