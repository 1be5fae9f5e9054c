// The screen reader chosen at the first start, and the box that says where a
// missing library comes from.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "core/editor_control.h"
#include "speech/screen_readers.h"
#include "speech/speech.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

class ScreenReaders : public MainWindowTest {
protected:
    void Restart(bool firstStart, const std::wstring& file = L"") {
        CurrentEditor().SetModified(false);
        SendMessageW(window_, WM_CLOSE, 0, 0);
        // The closed window's quit message would end the next box at once.
        PumpMessages(20);
        if (firstStart) DeleteSettingsKey();
        window_ = CreateMainWindow(GetModuleHandleW(nullptr), file);
        ASSERT_NE(window_, nullptr);
    }
    ScratchFolder folder_{L"orinda-speech-libraries"};
};

TEST_F(ScreenReaders, FirstStartChoosesTheRunningReaderLaterStartsKeepItAndAMissingLibraryIsExplainedOnce) {
    const struct {
        const wchar_t* nvdaNotRunning;
        const wchar_t* pcTalkerRunning;
        int engine;
    } starts[] = {{nullptr, L"1", kNvda}, {L"1", L"1", kPcTalker}, {L"1", L"0", kNoSpeech}};
    for (const auto& start : starts) {
        SetEnvironmentVariableW(L"ORINDA_FAKE_NVDA_NOT_RUNNING", start.nvdaNotRunning);
        SetEnvironmentVariableW(L"ORINDA_FAKE_PCTALKER_RUNNING", start.pcTalkerRunning);
        Restart(true);
        EXPECT_EQ(ReadSettingNumber(L"Option16"), static_cast<DWORD>(start.engine)) << start.engine;
    }
    ResetFakeSpeech();
    Restart(false);
    EXPECT_EQ(ReadSettingNumber(L"Option16"), 0u);
    EXPECT_EQ(SpeechEngine(), kNoSpeech);

    // A first start that finds no reader nor NVDA's library says where it comes from.
    SetSpeechLibraryFolder(folder_.Path());
    SetEnvironmentVariableW(L"ORINDA_FAKE_PCTALKER_RUNNING", L"0");
    std::wstring text;
    AnswerBoxKeepingText(L"オリンダ", &text);
    Restart(true);
    ASSERT_TRUE(PumpUntil([&text] { return !text.empty(); }, 5000));
    EXPECT_NE(text.find(L"音声設定で NVDA を選んで"), std::wstring::npos) << text;

    // At a later start with NVDA chosen, a file of that name that does not load counts as missing.
    WriteSettingNumber(L"Option16", kNvda);
    WriteTestFile(folder_.File(L"nvdaControllerClient32.dll"), "not a library");
    WriteTestFile(folder_.File(L"a.txt"), "本文");
    text.clear();
    std::wstring textBehind;
    AnswerDialog(L"オリンダ", [&](HWND box) {
        text = DialogItemText(box, 0xFFFF);
        textBehind = CurrentEditor().Text();
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    Restart(false, folder_.File(L"a.txt"));
    ASSERT_TRUE(PumpUntil([&text] { return !text.empty(); }, 5000));
    EXPECT_EQ(textBehind, L"本文");
    for (const std::wstring& part : {std::wstring(L"nvdaControllerClient32.dll"),
                                     std::wstring(L"nvdaControllerClient.dll"), std::wstring(L"x86"),
                                     std::wstring(L"同じフォルダ"), std::wstring(L"起動し直す"), folder_.Path()})
        EXPECT_NE(text.find(part), std::wstring::npos) << text;
    // The box comes by a posted message: once none is left, no second box came.
    std::wstring again;
    AnswerBoxKeepingText(L"オリンダ", &again);
    Settle();
    EXPECT_TRUE(again.empty());
}

}  // namespace
