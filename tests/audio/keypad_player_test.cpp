#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "audio/audio_device.h"
#include "audio/audio_history.h"
#include "core/editor_control.h"
#include "core/outside_world.h"
#include "core/settings.h"
#include "speech/continuous_reading.h"
#include "support/test_support.h"

namespace {

using namespace testing_support;
using Strings = std::vector<std::wstring>;

// The MCI device as the tests script it: it records every string, keeps a
// position, and can refuse a file or playback, or rewind on stop as Wine's
// device does.
struct ScriptedDevice {
    Strings sent;
    bool open = false;
    long position = 0;
    long length = 100000;
    bool rewindsOnStop = false;
    bool refusesPlay = false;
    std::wstring refusedFile = L"refused";
} g_device;

bool Answer(const std::wstring& command, std::wstring& reply) {
    g_device.sent.push_back(command);
    reply.clear();
    if (command.rfind(L"open ", 0) == 0) return g_device.open = command.find(g_device.refusedFile) == std::wstring::npos;
    if (!g_device.open) return false;
    if (command == L"close File") g_device.open = false;
    if (command == L"play File notify" && g_device.refusesPlay) return false;
    if (command == L"stop File" && g_device.rewindsOnStop) g_device.position = 0;
    if (command == L"status File position") reply = std::to_wstring(g_device.position);
    if (command == L"status File length") reply = std::to_wstring(g_device.length);
    if (command.rfind(L"seek File to ", 0) == 0) {
        const long target = std::stol(command.substr(13));
        if (target > g_device.length) return false;
        g_device.position = target;
    }
    return true;
}

class Player : public MainWindowTest {
protected:
    void SetUp() override {
        saved_ = Outside().sendMciString;
        Outside().sendMciString = Answer;
        g_device = ScriptedDevice();
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        Outside().sendMciString = saved_;
    }
    // Run a command afresh: the last thing said, empty when it was silent.
    std::wstring Run(WORD id) {
        g_device.sent.clear();
        ClearSpeechLog();
        SendCommand(id);
        Settle();
        const Strings said = SpokenTexts();
        return said.empty() ? L"" : said.back();
    }
    std::wstring OpenListed(const std::wstring& path, long resumePoint) {
        SaveAudioHistory({{path, path.substr(3), resumePoint}});
        AnswerWith(L"オーディオファイル履歴", IDOK);
        return Run(kCmdAudioHistory);
    }
    std::wstring OpenThroughDialog(const std::wstring& name) {
        const ScratchFolder folder(L"orinda_audio");
        WriteTestFile(folder.File(name.c_str()), "RIFF");
        AnswerFileDialog(L"オーディオファイル選択", folder.File(name.c_str()));
        return Run(kCmdOpenAudioFile);
    }
    bool (*saved_)(const std::wstring&, std::wstring&) = nullptr;
};

TEST_F(Player, WithoutAFileItSaysSoAFileItCannotOpenIsNotKeptAndOneOpensAtItsResumePoint) {
    EXPECT_EQ(OpenThroughDialog(L"refused.mp3"), L"ファイルを開けませんでした");
    EXPECT_TRUE(LoadAudioHistory().empty());
    for (WORD id : {kCmdPlayOrStop, kCmdPlayerPosition, kCmdPlayerLength, kCmdPlayerFileName, kCmdBackThreeSeconds})
        EXPECT_EQ(Run(id), L"音声ファイルは読み込まれていません");
    EXPECT_TRUE(g_device.sent.empty());
    EXPECT_EQ(Run(kCmdPlayerSpeed), L"再生スピード1.0");
    // A quote in a path never reaches the device, where it would end the path.
    EXPECT_FALSE(OpenDevice(L"C:\\a.mp3\" alias Other wait"));
    EXPECT_TRUE(g_device.sent.empty());

    EXPECT_EQ(OpenListed(L"C:\\a.mp3", 12000), L"a.mp3を開きました");
    EXPECT_EQ(g_device.sent, (Strings{L"open \"C:\\a.mp3\" type MPEGVideo alias File", L"setaudio File volume to 750",
                                      L"set File speed 1000", L"seek File to 12000", L"play File notify"}));
    EXPECT_EQ(Run(kCmdKeypadPlayerState), L"テンキープレーヤー有効");
    // Wine's device rewinds on stop: the position is read before.
    g_device.position = 15000;
    g_device.rewindsOnStop = true;
    EXPECT_EQ(OpenThroughDialog(L"b.wav"), L"b.wavを開きました");
    EXPECT_EQ(Strings(g_device.sent.begin(), g_device.sent.begin() + 3),
              (Strings{L"status File position", L"stop File", L"close File"}));
    EXPECT_EQ(g_device.sent.at(6), L"seek File to 0");
    // Another instance lists a file meanwhile: closing keeps it.
    AddToAudioHistory(L"C:\\other.wma");
    g_device.position = 7000;
    SendMessageW(window_, WM_CLOSE, 0, 0);
    const PathEntries history = LoadAudioHistory();
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0].path, L"C:\\other.wma");
    EXPECT_EQ(history[1].position, 7000);
    EXPECT_EQ(history[2].position, 15000);
}

TEST_F(Player, SeeksVolumeAndSpeedStopAtTheEdgesAnswerAloudOnlyWhileStoppedAndARefusedPlayOrTheEndStopsIt) {
    CurrentSettings().autoPlayOpenedAudio = 0;
    OpenListed(L"C:\\a.mp3", 2000);
    EXPECT_EQ(Run(kCmdBackThreeSeconds), L"0分0秒");
    EXPECT_EQ(g_device.sent,
              (Strings{L"status File position", L"status File length", L"stop File", L"seek File to 0"}));
    g_device.position = 97000;
    EXPECT_EQ(Run(kCmdForwardThreeSeconds), L"1分40秒");
    g_device.position = 98000;
    EXPECT_EQ(Run(kCmdForwardThreeSeconds), L"1分38秒");
    EXPECT_EQ(g_device.sent.back(), L"seek File to 98000");
    EXPECT_EQ(Run(kCmdPlayerPosition), L"再生位置 1分38秒");
    EXPECT_EQ(Run(kCmdPlayerLength), L"総録音時間 1分40秒");
    EXPECT_EQ(Run(kCmdPlayerFileName), L"a.mp3");
    EXPECT_EQ(Run(kCmdBackToStart), L"0分0秒");
    EXPECT_EQ(Run(kCmdMoveToEnd), L"1分40秒");
    g_device.length = -1;  // a device that refuses every seek
    EXPECT_EQ(Run(kCmdBackTenSeconds), L"移動できませんでした");
    g_device.length = 100000;
    EXPECT_EQ(Run(kCmdPlayOrStop), L"");
    EXPECT_EQ(Run(kCmdBackOneMinute), L"");

    // Volume and speed stop at their ends and carry over to the next file.
    EXPECT_EQ(Run(kCmdPlayOrStop), L"");
    CurrentSettings().playerVolume = 19;
    const double pressed = fake::NowMs();
    EXPECT_EQ(Run(kCmdVolumeUp), L"ボリューム 20");
    EXPECT_GE(SpeechDelay(L"ボリューム 20", pressed), 100);
    EXPECT_EQ(g_device.sent, Strings{L"setaudio File volume to 1000"});
    EXPECT_EQ(Run(kCmdVolumeUp), L"ボリューム 20");
    EXPECT_TRUE(g_device.sent.empty());
    CurrentSettings().playerVolume = 0;
    EXPECT_EQ(Run(kCmdVolumeDown), L"ボリューム 0");
    CurrentSettings().playerVolume = 25;  // written by hand: the keys still reach it
    EXPECT_EQ(Run(kCmdVolumeDown), L"ボリューム 19");
    for (int i = 0; i < 9; ++i) SendCommand(kCmdSpeedUp);
    EXPECT_EQ(Run(kCmdSpeedUp), L"再生スピード1.5");
    OpenListed(L"C:\\b.mp3", 0);
    EXPECT_EQ(g_device.sent.at(5), L"set File speed 1500");
    for (int i = 0; i < 8; ++i) SendCommand(kCmdSpeedUp);
    EXPECT_EQ(Run(kCmdSpeedUp), L"再生スピード1.95");
    EXPECT_EQ(Run(kCmdSpeedUp), L"再生スピード2.0");
    EXPECT_EQ(Run(kCmdSpeedUp), L"");
    EXPECT_TRUE(g_device.sent.empty());
    EXPECT_EQ(Run(kCmdNormalSpeed), L"再生スピード1.0");
    EXPECT_EQ(g_device.sent, (Strings{L"stop File", L"set File speed 1000"}));
    for (int i = 0; i < 17; ++i) SendCommand(kCmdSpeedDown);
    EXPECT_EQ(Run(kCmdSpeedDown), L"再生スピード0.1");
    EXPECT_EQ(Run(kCmdPlayerVolume), L"再生ボリューム 19");

    CurrentSettings().autoPlayOpenedAudio = 1;
    g_device.refusesPlay = true;
    EXPECT_EQ(OpenListed(L"C:\\a.mp3", 0), L"a.mp3を開きました");
    EXPECT_EQ(Run(kCmdVolumeUp), L"ボリューム 20");
    for (const WORD id : {kCmdForwardTenSeconds, kCmdSpeedUp}) {
        g_device.refusesPlay = false;
        EXPECT_EQ(Run(kCmdPlayOrStop), L"");
        g_device.refusesPlay = true;
        EXPECT_EQ(Run(id), L"再生できませんでした");
        EXPECT_NE(Run(kCmdVolumeUp), L"");
    }

    // The end of playback returns to the start.
    g_device.refusesPlay = false;
    OpenListed(L"C:\\a.mp3", 0);
    g_device.position = 50000;
    SendMessageW(window_, MM_MCINOTIFY, MCI_NOTIFY_ABORTED, 1);
    EXPECT_EQ(Run(kCmdVolumeUp), L"");
    // Wine's device reads 0 after the natural end; its notification says so.
    g_device.position = 0;
    g_device.sent.clear();
    SendMessageW(window_, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 1);
    EXPECT_EQ(g_device.sent, (Strings{L"stop File", L"seek File to 0"}));
    EXPECT_EQ(Run(kCmdVolumeUp), L"ボリューム 20");
    EXPECT_EQ(Run(kCmdPlayOrStop), L"");
    SendMessageW(window_, MM_MCINOTIFY, MCI_NOTIFY_FAILURE, 1);
    EXPECT_EQ(Run(kCmdVolumeUp), L"ボリューム 20");
}

bool KeyIsFree(UINT key) {
    const bool free = RegisterHotKey(nullptr, 1, 0, key);
    if (free) UnregisterHotKey(nullptr, 1);
    return free;
}

TEST_F(Player, KeypadKeysActOnlyWhileOursAndTheEditorHasTheFocusAndKeysHeldElsewhereAreSaid) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 2, 0, VK_NUMPAD5));
    EXPECT_EQ(Run(kCmdKeypadPlayerToggle), L"テンキーが他のプログラムで使われているため、テンキープレーヤーを有効にできませんでした");
    EXPECT_TRUE(KeyIsFree(VK_NUMPAD1));
    UnregisterHotKey(nullptr, 2);
    EXPECT_EQ(Run(kCmdKeypadPlayerToggle), L"テンキープレーヤー有効");
    // + does nothing in the player but is still its own: once the key pressed
    // after it has been acted on, it has been too, and typed nothing.
    PressKeys({VK_ADD});
    PressKeys({VK_NUMPAD8});
    EXPECT_TRUE(WaitForSpeech(L"ボリューム 16", 1000));
    Settle();
    EXPECT_EQ(CurrentEditor().EditorText(), L"");
    bool freeInDialog = false;
    AnswerDialog(L"オーディオファイル履歴", [&freeInDialog](HWND dialog) {
        freeInDialog = KeyIsFree(VK_NUMPAD8);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Run(kCmdAudioHistory);
    EXPECT_TRUE(freeInDialog);
    EXPECT_FALSE(KeyIsFree(VK_NUMPAD8));
    SetEditorText(L"one\rtwo\rthree");
    SendCommand(kCmdReadToEnd);
    ASSERT_TRUE(IsReading());
    SendMessageW(window_, WM_HOTKEY, kCmdVolumeUp, 0);
    StopReading();
    EXPECT_EQ(CurrentSettings().playerVolume, 16);
    EXPECT_EQ(Run(kCmdKeypadPlayerToggle), L"テンキープレーヤー無効");
    EXPECT_TRUE(KeyIsFree(VK_NUMPAD8));

    // Taken by another program while a dialog had the focus: the player is
    // off, says so when the editor is back, and its state says the same.
    EXPECT_EQ(Run(kCmdKeypadPlayerToggle), L"テンキープレーヤー有効");
    AnswerDialog(L"オーディオファイル履歴", [](HWND dialog) {
        RegisterHotKey(nullptr, 2, 0, VK_NUMPAD5);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(kCmdAudioHistory), L"テンキーが他のプログラムで使われているため、テンキープレーヤーを有効にできませんでした");
    EXPECT_EQ(Run(kCmdKeypadPlayerState), L"テンキープレーヤー無効");
    UnregisterHotKey(nullptr, 2);
}

}  // namespace
