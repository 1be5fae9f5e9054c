// The screen reader chosen at the first start or in the speech settings, and
// the box that says where a missing library comes from.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/commands.h"
#include "app/main_window.h"
#include "core/editor_control.h"
#include "resources/resource_ids.h"
#include "speech/nvda_client.h"
#include "speech/pctalker_client.h"
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
    // Open the dialog, note what it offers, pick `choice` and press `button`.
    void ChooseEngine(int choice, int button) {
        AnswerDialog(L"音声設定", [this, choice, button](HWND dialog) {
            const HWND combo = GetDlgItem(dialog, IDC_ENGINE_COMBO);
            shownSelection_ = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
            for (int index = 0; index < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++index) {
                wchar_t name[64] = {};
                SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name));
                names_.push_back(name);
            }
            SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(choice), 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        });
        SendCommand(kCmdSpeechSettings);
    }
    ScratchFolder folder_{L"orinda-speech-libraries"};
    int shownSelection_ = -2;
    std::vector<std::wstring> names_;
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

TEST_F(ScreenReaders, SettingsDialogCancelKeepsOkStoresAndAReaderWithoutItsLibraryIsExplainedUnlessCancelled) {
    WriteSettingNumber(L"Option16", 0);
    ChooseEngine(1, IDCANCEL);
    EXPECT_EQ(ReadSettingNumber(L"Option16"), 0u);

    SetSpeechEngine(kNoSpeech);
    names_.clear();
    ChooseEngine(2, IDOK);
    EXPECT_EQ(shownSelection_, 0);
    EXPECT_EQ(names_, (std::vector<std::wstring>{L"音声なし", L"PCTalker", L"NVDA"}));
    EXPECT_EQ(ReadSettingNumber(L"Option16"), 2u);
    Speak(L"次の知らせ", 0);
    EXPECT_TRUE(WaitForSpeech(L"次の知らせ", 1000));

    // An engine outside the list selects nothing, and OK stores -1.
    SetSpeechEngine(7);
    AnswerWith(L"音声設定", IDOK);
    SendCommand(kCmdSpeechSettings);
    EXPECT_EQ(ReadSettingNumber(L"Option16"), 0xFFFFFFFFu);
    ClearSpeechLog();
    Speak(L"聞こえない", 0);
    EXPECT_TRUE(NothingHeard());

    // A reader without its library is explained; a library put in place is taken.
    SetSpeechLibraryFolder(folder_.Path());
    ASSERT_FALSE(LoadNvdaClient(SpeechLibraryFolder()));
    SetSpeechEngine(kNoSpeech);
    std::wstring text;
    AnswerBoxKeepingText(L"オリンダ", &text);
    ChooseEngine(2, IDOK);
    EXPECT_NE(text.find(L"nvdaControllerClient32.dll"), std::wstring::npos) << text;

    SetSpeechLibraryFolder(ExecutableFolder());
    text.clear();
    AnswerBoxKeepingText(L"オリンダ", &text);
    ChooseEngine(2, IDOK);
    EXPECT_TRUE(text.empty()) << text;
    Speak(L"届いた", 0);
    EXPECT_TRUE(WaitForSpeech(L"届いた", 2000));

    // PC-Talker without its library is explained too, unless the choice is cancelled.
    UnloadPcTalker();
    SetEnvironmentVariableW(L"ORINDA_FAKE_PCTALKER_BROKEN", L"1");
    AnswerBoxKeepingText(L"オリンダ", &text);
    ChooseEngine(1, IDCANCEL);
    Settle();
    EXPECT_TRUE(text.empty()) << text;
    ChooseEngine(1, IDOK);
    EXPECT_NE(text.find(L"PCTKUSR.dll"), std::wstring::npos) << text;
}

}  // namespace
