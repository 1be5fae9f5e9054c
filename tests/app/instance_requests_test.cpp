#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "core/editor_control.h"
#include "app/main_window.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

using CloseRequest = MainWindowTest;

TEST_F(CloseRequest, WaitsForTheOpenDialogThenAsksTheSaveQuestion) {
    CurrentEditor().ReplaceSelection(L"unsaved");
    bool asked = false;
    bool keptUnderTheDialog = false;
    AnswerDialog(L"保存確認", [&asked](HWND box) {
        asked = true;
        PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
    AnswerDialog(L"行移動", [&](HWND box) {
        PostMessageW(window_, InstanceMessage(), 1, 0);
        PumpMessages(300);
        keptUnderTheDialog = IsWindow(box) && IsWindow(window_) && !asked;
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageW(window_, WM_COMMAND, kCmdJumpToLine, 0);
    EXPECT_TRUE(keptUnderTheDialog);
    EXPECT_TRUE(PumpUntil([this] { return !IsWindow(window_); }, 3000));
    EXPECT_TRUE(asked);
}

}  // namespace
