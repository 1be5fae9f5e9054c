#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <regex>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "app/commands.h"
#include "core/data_folder.h"
#include "core/editor_control.h"
#include "core/outside_world.h"
#include "core/paths.h"
#include "core/settings.h"
#include "recording/recording_settings.h"
#include "recording/text_recording.h"
#include "resources/recording_ids.h"
#include "support/test_support.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

enum RenderMode { kRenderQuickly, kRenderFails, kRenderUntilCancelled, kRenderOutOfMemory };

// What a voice was given: text, voice name, volume, rate, pitch.
using VoiceCall = std::tuple<std::wstring, std::wstring, int, int, int>;

std::mutex g_lock;
std::vector<VoiceCall> g_rendered, g_tested;
std::atomic<int> g_renderMode{kRenderQuickly};
std::atomic<bool> g_rendering{false};
std::atomic<HANDLE> g_encoder{nullptr};
std::vector<std::wstring> g_opened;
std::wstring g_browsed;  // the folder browser's pick; empty: cancelled
OutsideWorld g_real;

const std::wstring kLongVoice(300, L'声');
// 16 kHz, 16-bit mono PCM with four samples of silence.
const char kWaveBytes[] = "RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x80\x3e\0\0\0\x7d\0\0\x02\0\x10\0"
                          "data\x08\0\0\0\0\0\0\0\0\0\0\0";
const std::string kWave(kWaveBytes, sizeof kWaveBytes - 1);

VoiceCall Call(const std::wstring& text, const std::wstring& voice, const VoiceParameters& values) {
    return {text, voice, values.volume, values.rate, values.pitch};
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) names.push_back(entry.path().filename().wstring());
    return names;
}

bool StandInRender(const std::wstring& text, const std::wstring& path, const std::wstring& voice,
                   const VoiceParameters& values, const std::atomic<bool>& cancel) {
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_rendered.push_back(Call(text, voice, values));
    }
    if (g_renderMode == kRenderOutOfMemory) throw std::length_error("the spoken form");
    std::ofstream(fs::path(path), std::ios::binary) << kWave;
    if (g_renderMode == kRenderFails) return false;  // with part of the wave written
    g_rendering = true;
    while (g_renderMode == kRenderUntilCancelled && !cancel) Sleep(10);
    g_rendering = false;
    return !cancel;
}

// The real start, keeping a copy of the encoder's handle for the test.
HANDLE StartAndKeep(const std::wstring& program, const std::wstring& parameters) {
    const HANDLE process = g_real.startHidden(program, parameters);
    HANDLE copy = nullptr;
    if (process) DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    g_encoder = copy;
    return process;
}

std::wstring TemporaryWave() {
    return DataFolder() + L"\\Orinda.wav";
}

std::wstring StandInEncoder() {
    return ExecutableFolder() + L"\\encoder\\lame.exe";
}

// Answer the start question with Yes and run the command to its end; with
// `said`, whether that was heard after the start.
bool Record(HWND window, WORD command, const wchar_t* said = nullptr, unsigned timeoutMs = 2000) {
    ClearSpeechLog();
    AnswerWith(L"開始確認", IDYES);
    SendCommand(window, command);
    return !said || WaitForSpeech(said, timeoutMs);
}

// Once `ready`, press CANCEL in the progress dialog and answer the question;
// `then` runs on the dialog afterwards.
void CancelWhen(std::function<bool()> ready, int answer, std::function<void()> then = nullptr) {
    AnswerDialog(L"テキスト録音中", [=](HWND dialog) {
        if (!ready()) return CancelWhen(ready, answer, then);
        AnswerDialog(L"テキスト録音の中断確認", [=](HWND box) {
            PostMessageW(box, WM_COMMAND, answer, 0);
            if (then) AnswerDialog(L"テキスト録音中", [then](HWND) { then(); });
        });
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

class Recording : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        g_real = Outside();
        Outside().voiceNames = [] { return std::vector<std::wstring>{L"ボイスA", kLongVoice}; };
        Outside().speakTest = [](const std::wstring& text, const std::wstring& voice, const VoiceParameters& values) {
            g_tested.push_back(Call(text, voice, values));
        };
        Outside().renderToWave = StandInRender;
        Outside().startHidden = StartAndKeep;
        Outside().browseForFolder = [](HWND, const std::wstring&, const std::wstring&, std::wstring& chosen) {
            chosen = g_browsed;
            return !chosen.empty();
        };
        Outside().shellOpen = [](const std::wstring& target) {
            g_opened.push_back(target);
            return true;
        };
        g_rendered.clear();
        g_tested.clear();
        g_opened.clear();
        g_browsed.clear();
        g_renderMode = kRenderQuickly;
        CurrentSettings().recordingFolder = folder_;
        SetEncoderPath(L"");
        lameLog_ = folder_ + L".lame.log";
        DeleteFileW(lameLog_.c_str());
        SetEnvironmentVariableW(L"ORINDA_FAKE_LAME_LOG", lameLog_.c_str());
        SetEnvironmentVariableW(L"ORINDA_FAKE_LAME_MODE", nullptr);
        DeleteFileW(TemporaryWave().c_str());
    }
    void TearDown() override {
        if (const HANDLE encoder = g_encoder.exchange(nullptr)) {
            TerminateProcess(encoder, 1);
            CloseHandle(encoder);
        }
        MainWindowTest::TearDown();
    }
    void OpenSettings(std::function<void(HWND)> inDialog) {
        AnswerDialog(L"テキスト録音設定", std::move(inDialog));
        SendCommand(kCmdRecordingSettings);
    }
    bool LeftNothing() const { return FilesIn(folder_).empty() && !FileExists(TemporaryWave()); }
    const ScratchFolder scratch_{L"orinda_recordings"};
    const std::wstring folder_ = scratch_.Path();
    std::wstring lameLog_;
};

TEST_F(Recording, WholeTextBecomesAWaveNamedByTheTimeWithTheStoredVoiceThenTheFolderOpens) {
    Settings& settings = CurrentSettings();
    settings.recordingVoice = 1;
    settings.recordingVolume = 10;
    settings.recordingSpeed = 15;
    settings.recordingPitch = 7;
    settings.openFolderAfterRecording = 1;
    ChooseRecordingVoiceWhenNeeded();
    SetEditorText(L"一行目\r\n二行目");
    ASSERT_TRUE(Record(window_, kCmdRecordWholeText, L"テキスト録音が終了しました"));
    EXPECT_EQ(g_rendered, std::vector<VoiceCall>{Call(L"一行目\r\n二行目", kLongVoice, {50, 5, -3})});
    const auto files = FilesIn(folder_);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(std::regex_match(files[0], std::wregex(L"\\d{4}年\\d{1,2}月\\d{1,2}日\\d{1,2}時\\d{1,2}分\\d{1,2}秒\\.wav")));
    EXPECT_EQ(FileBytes(folder_ + L"\\" + files[0]), kWave);
    EXPECT_FALSE(FileExists(TemporaryWave()));
    EXPECT_EQ(g_opened, std::vector<std::wstring>{folder_});
}

TEST_F(Recording, NothingToRecordOrNoStartsNothingASelectionGoesOverExactlyAndTheSettingsTestStoresNothing) {
    const double asked = fake::NowMs();
    SendCommand(kCmdRecordWholeText);
    EXPECT_GE(SpeechDelay(L"テキストがありません", asked), 100);
    SetEditorText(L"abc");
    SendCommand(kCmdRecordSelection);
    EXPECT_TRUE(WaitForSpeech(L"範囲選択中のテキストがありません", 2000));
    AnswerWith(L"開始確認", IDNO);
    SendCommand(kCmdRecordWholeText);  // g_rendered below then holds the selection alone

    SetEditorText(L"abc\r\ndef\r\nghi");
    CurrentEditor().Select(1, 6);
    ASSERT_TRUE(Record(window_, kCmdRecordSelection, L"テキスト録音が終了しました"));
    EXPECT_EQ(g_rendered, std::vector<VoiceCall>{Call(L"bc\rde", L"ボイスA", {100, 0, 0})});
    SendCommand(kCmdOpenRecordingFolder);
    EXPECT_EQ(g_opened, std::vector<std::wstring>{folder_});

    LoadSettings(kStartupValues);
    OpenSettings([](HWND dialog) {
        const int combos[] = {IDC_REC_VOICE, IDC_REC_VOLUME, IDC_REC_RATE, IDC_REC_PITCH, IDC_REC_BIT_RATE};
        std::vector<std::wstring> shown;
        for (const int combo : combos) shown.push_back(DialogItemText(dialog, combo));
        EXPECT_EQ(shown, (std::vector<std::wstring>{L"ボイスA", L"100%", L"50%", L"50%", L"64Kbps"}));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_REC_BIT_RATE)));
        SendDlgItemMessageW(dialog, IDC_REC_RATE, CB_SETCURSEL, 15, 0);
        SendMessageW(dialog, WM_COMMAND, IDC_REC_TEST, 0);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(g_tested, std::vector<VoiceCall>{Call(L"これはテスト音声です", L"ボイスA", {100, 5, 0})});
    EXPECT_EQ(CurrentSettings().recordingSpeed, 10);

    Outside().voiceNames = [] { return std::vector<std::wstring>(); };
    OpenSettings([](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, IDC_REC_TEST, 0);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(WaitForSpeech(L"音声がインストールされていません", 2000));
    EXPECT_EQ(g_tested.size(), 1u);
}

TEST_F(Recording, WithTheEncoderTheWaveBecomesMp3NoNameReplacesAFileAndTheDialogStoresOnlyOnOk) {
    SetEncoderPath(StandInEncoder());
    CurrentSettings().recordingBitRate = 1;
    SetEditorText(L"abc");
    ASSERT_TRUE(Record(window_, kCmdRecordWholeText, L"テキスト録音が終了しました", 5000));
    const auto files = FilesIn(folder_);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].substr(files[0].size() - 4), L".mp3");
    const std::string log = FileBytes(lameLog_);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(log.data()), log.size() / sizeof(wchar_t)),
              L"\"" + TemporaryWave() + L"\" -b 128 \"" + folder_ + L"\\" + files[0] + L"\"");

    const SYSTEMTIME time{2024, 1, 5, 5, 9, 3, 7, 0};  // 2024-01-05 (Friday) 09:03:07
    EXPECT_EQ(RecordingName(time), L"2024年1月5日9時3分7秒");
    std::ofstream(fs::path(folder_ + L"\\x.wav"));
    std::ofstream(fs::path(folder_ + L"\\x (2).wav"));
    EXPECT_EQ(UniqueRecordingPath(folder_, L"x", L".wav"), folder_ + L"\\x (3).wav");
    CurrentSettings().recordingBitRate = 7;
    EXPECT_EQ(RecordingBitRate(), 64);

    // The settings dialog: browsing then Cancel keeps the folder, OK stores every value.
    g_browsed = folder_ + L"\\elsewhere";
    std::wstring shownAfterBrowsing, shownAgain;
    OpenSettings([&shownAfterBrowsing](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, IDC_REC_BROWSE, 0);
        shownAfterBrowsing = DialogItemText(dialog, IDC_REC_FOLDER);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(ReadSetting(L"Option25").Text(), SpecialFolder(CSIDL_PERSONAL));
    OpenSettings([&shownAgain](HWND dialog) {
        shownAgain = DialogItemText(dialog, IDC_REC_FOLDER);
        const std::pair<int, int> choices[] = {
            {IDC_REC_VOICE, 1}, {IDC_REC_VOLUME, 10}, {IDC_REC_RATE, 12}, {IDC_REC_PITCH, 7}, {IDC_REC_BIT_RATE, 2}};
        for (const auto& [combo, index] : choices) SendDlgItemMessageW(dialog, combo, CB_SETCURSEL, index, 0);
        SendMessageW(dialog, WM_COMMAND, IDC_REC_BROWSE, 0);
        SendMessageW(dialog, WM_COMMAND, IDC_REC_OPEN_FOLDER, 0);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(shownAfterBrowsing, g_browsed);
    EXPECT_EQ(shownAgain, folder_);
    const std::pair<const wchar_t*, DWORD> stored[] = {{L"Option21", 1}, {L"Option22", 10}, {L"Option23", 12},
                                                       {L"Option24", 7}, {L"Option26", 2},  {L"Option27", 1}};
    for (const auto& [name, value] : stored) EXPECT_EQ(ReadSettingNumber(name), value) << name;
    EXPECT_EQ(ReadSetting(L"Option25").Text(), g_browsed);
    EXPECT_EQ(RecordingVoice(), kLongVoice);
}

TEST_F(Recording, FailuresAreAnnouncedAsFailuresAndOpenNoFolder) {
    CurrentSettings().openFolderAfterRecording = 1;
    SetEditorText(L"abc");
    g_renderMode = kRenderFails;
    EXPECT_TRUE(Record(window_, kCmdRecordWholeText, L"録音に失敗しました"));
    // What was rendered stays when the encoder fails or the folder is gone.
    g_renderMode = kRenderQuickly;
    SetEncoderPath(StandInEncoder());
    SetEnvironmentVariableW(L"ORINDA_FAKE_LAME_MODE", L"fail");
    EXPECT_TRUE(Record(window_, kCmdRecordWholeText, L"録音に失敗しました", 5000));
    EXPECT_EQ(FileBytes(TemporaryWave()), kWave);
    SetEncoderPath(L"");
    CurrentSettings().recordingFolder = folder_ + L"\\gone";
    EXPECT_TRUE(Record(window_, kCmdRecordWholeText, L"録音に失敗しました"));
    EXPECT_EQ(FileBytes(TemporaryWave()), kWave);
    // Memory that runs out on either thread ends the recording, not the program.
    g_renderMode = kRenderOutOfMemory;
    EXPECT_TRUE(Record(window_, kCmdRecordWholeText, L"メモリ確保に失敗しました"));
    std::wstring text;
    for (int line = 0; line < 1000; ++line) text += std::wstring(99, L'a') + L'\r';
    SetEditorText(text);
    CurrentEditor().Select(0, 99000);
    {
        const FailingAllocations noLargeBlocks(64 * 1024);
        EXPECT_TRUE(Record(window_, kCmdRecordSelection, L"メモリ確保に失敗しました"));
    }
    EXPECT_TRUE(FilesIn(folder_).empty());
    EXPECT_TRUE(g_opened.empty());
}

TEST_F(Recording, CancelAnsweredNoGoesOnAndYesLeavesNoFileWhereverTheRecordingWas) {
    SetEditorText(L"abc");
    g_renderMode = kRenderUntilCancelled;
    bool renderingAfterNo = false;
    CancelWhen([] { return g_rendering.load(); }, IDNO, [&renderingAfterNo] {
        renderingAfterNo = g_rendering;
        CancelWhen([] { return true; }, IDYES);
    });
    Record(window_, kCmdRecordWholeText);
    EXPECT_TRUE(renderingAfterNo);
    EXPECT_TRUE(LeftNothing());
    EXPECT_TRUE(NothingHeard());

    // While encoding: this encoder is ended.
    g_renderMode = kRenderQuickly;
    SetEncoderPath(StandInEncoder());
    SetEnvironmentVariableW(L"ORINDA_FAKE_LAME_MODE", L"slow");
    CancelWhen([] { return g_encoder.load() != nullptr; }, IDYES);
    Record(window_, kCmdRecordWholeText);
    EXPECT_EQ(WaitForSingleObject(g_encoder.load(), 0), WAIT_OBJECT_0);
    EXPECT_TRUE(LeftNothing());

    // While the encoder starts: the window still answers. The start lasts
    // until the window has answered after the cancel, or a while.
    static std::atomic<bool> starting, answered;
    starting = answered = false;
    Outside().startHidden = [](const std::wstring&, const std::wstring&) -> HANDLE {
        starting = true;
        for (const ULONGLONG end = GetTickCount64() + 10000; !answered && GetTickCount64() < end;) Sleep(10);
        starting = false;
        return nullptr;
    };
    CancelWhen([] { return starting.load(); }, IDYES, [] { answered = starting.load(); });
    Record(window_, kCmdRecordWholeText);
    EXPECT_TRUE(answered);
    EXPECT_TRUE(LeftNothing());
}

// Wine's SAPI lists one voice that it cannot name and renders nothing: the
// program must say so, never crash or hang.
class RealVoices : public MainWindowTest {};

TEST_F(RealVoices, UnderWineRecordingFailsCleanlyAndNoVoiceIsListed) {
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) GTEST_SKIP() << "Wine's voices only";
    SetEditorText(L"テスト");
    EXPECT_TRUE(Record(window_, kCmdRecordWholeText, L"録音に失敗しました", 5000));
    CurrentSettings().recordingVoice = 3;
    LRESULT voices = -1;
    AnswerDialog(L"テキスト録音設定", [&voices](HWND dialog) {
        voices = SendDlgItemMessageW(dialog, IDC_REC_VOICE, CB_GETCOUNT, 0, 0);
        SendMessageW(dialog, WM_COMMAND, IDC_REC_TEST, 0);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    SendCommand(kCmdRecordingSettings);
    EXPECT_EQ(voices, 0);
    EXPECT_EQ(ReadSettingNumber(L"Option21"), 0u);
}

}  // namespace
