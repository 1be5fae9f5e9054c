#include <windows.h>

#include <gtest/gtest.h>

#include "support/test_support.h"

using namespace testing_support;

namespace {

using InstanceCommands = MainWindowTest;

TEST_F(InstanceCommands, AloneF6SaysSoAndShowsNoDialog) {
    bool shown = false;
    AnswerWith(L"オリンダのウィンドウ切り替え", IDCANCEL, &shown);
    PressKeys({VK_F6});
    EXPECT_TRUE(WaitForSpeech(L"別のオリンダは起動されていません", 2000));
    EXPECT_FALSE(shown);
}

}  // namespace
