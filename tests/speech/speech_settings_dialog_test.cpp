#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "resources/resource_ids.h"
#include "speech/nvda_client.h"
#include "speech/pctalker_client.h"
#include "speech/screen_readers.h"
#include "speech/speech.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

class SpeechSettingsDialog : public MainWindowTest {
protected:
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
    int shownSelection_ = -2;
    std::vector<std::wstring> names_;
};

TEST_F(SpeechSettingsDialog, CancelKeepsOkStoresTheEngineAndAReaderWithoutItsLibraryIsExplainedUnlessCancelled) {
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
    const ScratchFolder folder(L"orinda-without-nvda");
    SetSpeechLibraryFolder(folder.Path());
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
