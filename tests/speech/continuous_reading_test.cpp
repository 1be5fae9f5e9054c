#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "core/clipboard.h"
#include "core/editor_control.h"
#include "speech/continuous_reading.h"
#include "speech/nvda_client.h"
#include "speech/speech.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

using Texts = std::vector<std::wstring>;

class ContinuousReading : public MainWindowTest {
protected:
    void StartReading() { SendCommand(kCmdReadToEnd); }
    bool WaitUntilFinished(unsigned timeoutMs) {
        return PumpUntil([] { return !IsReading(); }, timeoutMs);
    }
    // Wait until NVDA was handed `text`, then hold on while it is spoken.
    void WaitUntilReading(const std::wstring& text) { ASSERT_TRUE(WaitForSpeech(text, 5000)); }
    // Read `text` from `caret` on, NVDA taking `msPerUnit` for each unit, until
    // `line` is being spoken.
    void ReadSlowly(const wchar_t* msPerUnit, const std::wstring& text, const std::wstring& line, long caret = 0) {
        SetEnvironmentVariableW(L"ORINDA_FAKE_NVDA_MS_PER_UNIT", msPerUnit);
        SetEditorText(text);
        CurrentEditor().PlaceCaret(caret);
        StartReading();
        WaitUntilReading(line);
    }
};

TEST_F(ContinuousReading, ReadsToTheEndStopsOnCtrlOrASpeakCallAndNeitherAHungReaderNorOneWithoutIsSpeakingHangs) {
    SetEditorText(L"zero line\rfirst line\rsecond line\rthird line\rfourth line");
    const Editor editor = CurrentEditor();
    editor.PlaceCaret(editor.LineStart(2) + 4);
    StartReading();
    ASSERT_TRUE(WaitUntilFinished(5000));
    EXPECT_TRUE(WaitForSpeech(L"終わり", 1000));
    EXPECT_EQ(SpokenTexts(), (Texts{L"second line", L"third line", L"fourth line", L"終わり"}));
    EXPECT_EQ(editor.GetSelection().start, editor.LineStart(4));

    ClearSpeechLog();
    SetEditorText(L"abc\r\rde\rx\rfgh");
    StartReading();
    ASSERT_TRUE(WaitUntilFinished(5000));
    EXPECT_TRUE(WaitForSpeech(L"終わり", 1000));
    EXPECT_EQ(SpokenTexts(), (Texts{L"abc", L"fgh", L"終わり"}));

    // A hung NVDA freezes neither the stop nor a second reading.
    SetEnvironmentVariableW(L"ORINDA_FAKE_NVDA_BLOCK_MS", L"4000");
    SetEditorText(L"a line NVDA never returns from\rsecond line");
    StartReading();
    WaitUntilReading(L"a line NVDA never returns from");
    const ULONGLONG before = GetTickCount64();
    StopReading();
    // The old worker is still inside NVDA: no second worker starts beside it.
    StartReading();
    EXPECT_LT(GetTickCount64() - before, 2000u);
    EXPECT_FALSE(IsReading());
    SetEnvironmentVariableW(L"ORINDA_FAKE_NVDA_BLOCK_MS", nullptr);
    EXPECT_TRUE(WaitForReadingWorker(6000));

    // Without isSpeaking each line takes its estimated time.
    ClearSpeechLog();
    ASSERT_TRUE(LoadNvdaClientFrom(ExecutableFolder() + L"\\nvda_without_is_speaking.dll"));
    SetEditorText(L"最初の行です\r次の行です");
    StartReading();
    ASSERT_TRUE(WaitUntilFinished(10000));
    EXPECT_TRUE(WaitForSpeech(L"終わり", 1000));
    std::vector<double> times;
    for (const auto& call : ReadSpeechLog())
        if (call.function == "speakText") times.push_back(call.ms);
    ASSERT_EQ(times.size(), 3u);
    // About seven Japanese characters a second, and a pause after the line.
    EXPECT_GE(times[1] - times[0], 850.0);
    EXPECT_LT(times[1] - times[0], 2500.0);

    ASSERT_TRUE(LoadNvdaClient(ExecutableFolder()));
    // Ctrl stops at once, leaving the caret on the line before the one being read.
    ClearSpeechLog();
    std::wstring text;
    for (int line = 0; line < 7; ++line) text += L"l" + std::to_wstring(line) + L"a\r";
    text += L"line seven is long enough to be interrupted while it is read\rline eight\rline nine";
    ReadSlowly(L"40", text, L"line seven is long enough to be interrupted while it is read");

    PressKeys({VK_CONTROL});
    // Once the worker has left and its messages are handled, nothing more comes.
    EXPECT_TRUE(WaitForReadingWorker(5000));
    Settle();
    EXPECT_EQ(SpokenTexts().back(), L"line seven is long enough to be interrupted while it is read");
    EXPECT_EQ(CurrentEditor().GetSelection().start, CurrentEditor().LineStart(6));

    // A stop while NVDA takes a line cancels that line.
    ClearSpeechLog();
    const std::wstring sends = std::to_wstring(reinterpret_cast<INT_PTR>(window_)) + L" " + std::to_wstring(kCmdCancel);
    SetEnvironmentVariableW(L"ORINDA_FAKE_NVDA_SPEAK_SENDS", sends.c_str());
    ReadSlowly(L"300", L"zero\rthe line the stop lands on\rnever read", L"the line the stop lands on", 5);
    ASSERT_TRUE(WaitForSpeech(L"", 5000, "cancelSpeech"));
    const std::vector<SpeechCall> calls = ReadSpeechLog();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, L"the line the stop lands on");
    EXPECT_EQ(CurrentEditor().GetSelection().start, 0);
}

TEST_F(ContinuousReading, GuardLetsOnlyTheEssentialCommandsThroughAPasteWaitsAndEscapeASessionChangeOrFocusStopsIt) {
    ReadSlowly(L"300", L"a line that takes a while to read aloud\rsecond line here",
               L"a line that takes a while to read aloud");

    SendCommand(kCmdCaretPosition);
    PressKeys({VK_F2});
    PressKeys({VK_F4});
    Settle();
    EXPECT_TRUE(IsReading());
    for (const auto& text : SpokenTexts()) EXPECT_EQ(text.find(L"文字"), std::wstring::npos) << "spoke a position";

    // Alt+F4 ends the reading and still asks before unsaved text is dropped.
    CurrentEditor().SetModified(true);
    bool asked = false;
    AnswerWith(L"保存確認", IDCANCEL, &asked);
    PressKeys({VK_MENU, VK_F4});
    EXPECT_TRUE(PumpUntil([&asked] { return asked; }, 2000));
    EXPECT_FALSE(IsReading());
    EXPECT_TRUE(CurrentEditor().IsModified());

    ASSERT_TRUE(SetClipboardText(window_, L"+"));
    ReadSlowly(L"40", L"a line read aloud\rsecond line", L"a line read aloud");
    PressKeys({VK_SHIFT, VK_INSERT});
    EXPECT_EQ(CurrentEditor().Text(), L"a line read aloud\r\nsecond line");
    // Read to its end, the paste lands where the reading left the caret.
    ASSERT_TRUE(WaitUntilFinished(5000));
    EXPECT_TRUE(PumpUntil([] { return CurrentEditor().Text() == L"a line read aloud\r\n+second line"; }, 2000));

    // No engine means no reading; PC-Talker reads every line; NVDA not running ends at the start.
    SetSpeechEngine(kNoSpeech);
    SetEditorText(L"some text\rmore text");
    StartReading();
    EXPECT_FALSE(IsReading());
    SetSpeechEngine(kNvda);
    SendCommand(kCmdCaretPosition);
    EXPECT_TRUE(WaitForSpeech(L"1行1文字", 1000));

    ClearSpeechLog();
    SetSpeechEngine(kPcTalker);
    SetEditorText(L"一行目\r\r三行目");
    StartReading();
    ASSERT_TRUE(WaitUntilFinished(5000));
    EXPECT_EQ(SpokenTexts("PCTKPReadExW"),
              (Texts{L"一行目 [5,1,0]", L" [5,1,0]", L"三行目 [5,1,0]", L"終わり [5,1,0]"}));

    SetSpeechEngine(kNvda);
    SetEnvironmentVariableW(L"ORINDA_FAKE_NVDA_NOT_RUNNING", L"1");
    SetEditorText(L"x\rfirst line\rsecond line\rthird line");
    ClearSpeechLog();
    StartReading();
    EXPECT_TRUE(WaitUntilFinished(2000));
    EXPECT_TRUE(NothingHeard());
    EXPECT_EQ(CurrentEditor().GetSelection().start, 0);

    // Escape on the first line, a locked or lost session, or losing the focus stops it.
    ResetFakeSpeech();
    ReadSlowly(L"300", L"the first line is being read\rsecond", L"the first line is being read", 5);
    PressKeys({VK_ESCAPE});
    EXPECT_FALSE(IsReading());
    EXPECT_EQ(CurrentEditor().GetSelection().start, 0);

    const std::wstring line = L"private text that is never read over a locked screen";
    for (WPARAM change : {WTS_SESSION_LOCK, WTS_CONSOLE_DISCONNECT, WTS_REMOTE_DISCONNECT}) {
        ClearSpeechLog();
        ReadSlowly(L"300", L"zero\r" + line + L"\rmore", line, 5);
        SendMessageW(window_, WM_WTSSESSION_CHANGE, change, 0);
        EXPECT_FALSE(IsReading()) << change;
        EXPECT_EQ(CurrentEditor().GetSelection().start, 0);
    }

    // Slow enough that the reading cannot end by itself within the wait below.
    ReadSlowly(L"300", L"a line that takes a while to read aloud\rsecond line here",
               L"a line that takes a while to read aloud");
    const HWND other = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                       nullptr, nullptr, nullptr);
    SetFocus(other);
    EXPECT_TRUE(PumpUntil([] { return !IsReading(); }, 2000));
    DestroyWindow(other);
}

}  // namespace
