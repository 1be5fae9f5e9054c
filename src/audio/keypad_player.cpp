#include "audio/keypad_player.h"

#include <mmsystem.h>

#include <algorithm>
#include <bitset>
#include <iterator>
#include <optional>
#include <string>

#include "audio/audio_device.h"
#include "audio/audio_history.h"
#include "audio/playback_texts.h"
#include "core/app_window.h"
#include "core/paths.h"
#include "core/settings.h"
#include "document/file_dialogs.h"
#include "speech/continuous_reading.h"
#include "speech/speech.h"

namespace {

using Action = void (*)(HWND, LPARAM);

struct KeypadKey {
    int id;
    UINT key;
    Action action;  // none: the key is taken only so that it does nothing
};

const KeypadKey kKeys[] = {
    {601, VK_NUMPAD1, BackThreeSeconds}, {602, VK_NUMPAD2, VolumeDown},   {603, VK_NUMPAD3, ForwardThreeSeconds},
    {604, VK_NUMPAD4, BackTenSeconds},   {605, VK_NUMPAD5, PlayOrStop},   {606, VK_NUMPAD6, ForwardTenSeconds},
    {607, VK_NUMPAD7, BackOneMinute},    {608, VK_NUMPAD8, VolumeUp},     {609, VK_NUMPAD9, ForwardOneMinute},
    {610, VK_NUMPAD0, BackToStart},      {611, VK_DECIMAL, MoveToEnd},    {612, VK_ADD, nullptr},
    {613, VK_SUBTRACT, NormalSpeed},     {614, VK_MULTIPLY, SpeedUp},     {615, VK_DIVIDE, SpeedDown},
};

const OpenDialogKind kAudioOpenDialog{
    L"オーディオファイル選択",
    L"オーディオファイル(*.wav *.wma *.mp3)\0*.wav;*.wma;*.mp3\0全てのファイル(*.*)\0*.*\0", L"wav"};

constexpr int kMaxVolume = 20;

bool g_enabled = false;
// The program's view: it started playback and has not seen it stop.
bool g_playing = false;
int g_speed = kNormalSpeed;
std::wstring g_path;  // empty while no file is open
std::wstring g_lastChosen;
std::bitset<std::size(kKeys)> g_heldKeys;

bool HasFile() {
    return !g_path.empty();
}

// A stored level beyond the range would leave the keys unable to change it.
int VolumeLevel() {
    return std::clamp(CurrentSettings().playerVolume, 0, kMaxVolume);
}

void SayNoFile(unsigned delayMs) {
    Speak(L"音声ファイルは読み込まれていません", delayMs);
}

// Confirmations are heard only while nothing plays.
void Confirm(const std::wstring& text, unsigned delayMs) {
    if (!g_playing) Speak(text, delayMs);
}

// Playback goes on after a move; when the device refuses, the player knows
// it is stopped and says so, so that later confirmations are heard.
bool GoOnPlaying() {
    if (!g_playing || PlayDevice()) return true;
    g_playing = false;
    Speak(L"再生できませんでした", kAnswerDelayMs);
    return false;
}

void MoveTo(long target, unsigned delayMs) {
    const bool moved = SeekDevice(target);
    if (GoOnPlaying()) Confirm(moved ? SpokenTime(target) : L"移動できませんでした", delayMs);
}

// Backwards stops at the start; forwards past the end does not move.
void SeekBy(long long step) {
    if (!HasFile()) {
        SayNoFile(kAnswerDelayMs);
        return;
    }
    // Read before stopping: some devices rewind on stop.
    const long position = DevicePosition();
    const long length = DeviceLength();
    long long target = position + step;
    if (step < 0) target = std::max(0LL, target);
    else if (target > length) target = position;
    StopDevice();
    MoveTo(static_cast<long>(target), kAnswerDelayMs);
}

void ChangeVolume(int step) {
    const int level = std::clamp(VolumeLevel() + step, 0, kMaxVolume);
    if (level != VolumeLevel()) {
        CurrentSettings().playerVolume = level;
        if (HasFile()) SetDeviceVolume(level);
    }
    Confirm(L"ボリューム " + std::to_wstring(level), kAnswerDelayMs);
}

void ChangeSpeed(int speed, unsigned delayMs) {
    if (speed == g_speed || SpeedText(speed).empty()) return;
    g_speed = speed;
    if (HasFile()) {
        StopDevice();
        SetDeviceSpeed(speed);
        if (!GoOnPlaying()) return;
    }
    Confirm(SpeedText(speed), delayMs);
}

const wchar_t kKeysHeldElsewhere[] =
    L"テンキーが他のプログラムで使われているため、テンキープレーヤーを有効にできませんでした";

// Take the keys not held yet. False when one of them could not be taken (it
// is held elsewhere); the keys taken are kept until released.
bool RegisterKeypadHotKeys() {
    const HWND window = MainWindow();
    if (!window) return false;
    bool all = true;
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        if (g_heldKeys[i]) continue;
        if (RegisterHotKey(window, kKeys[i].id, 0, kKeys[i].key)) g_heldKeys[i] = true;
        else all = false;
    }
    return all;
}

bool EnableKeys() {
    if (RegisterKeypadHotKeys()) return true;
    UnregisterKeypadHotKeys();
    return false;
}

// The open file's position goes to its history entry before it is closed;
// it is read before the stop, as some devices rewind on stop.
void LeaveOpenFile() {
    if (!HasFile()) return;
    const long position = DevicePosition();
    StopDevice();
    StoreResumePoint(g_path, position);
    CloseDevice();
    g_playing = false;
    g_path.clear();
}

void OpenAudioFile(const std::wstring& path, long resumePoint) {
    LeaveOpenFile();
    // A file the device cannot play is neither announced as opened nor kept.
    if (!OpenDevice(path)) {
        Speak(L"ファイルを開けませんでした", kAnswerDelayMs);
        return;
    }
    g_path = path;
    AddToAudioHistory(path);
    SetDeviceVolume(VolumeLevel());
    SetDeviceSpeed(g_speed);
    SeekDevice(resumePoint);
    Speak(FileNameOf(path) + L"を開きました", kAnswerDelayMs);
    if (CurrentSettings().autoEnableKeypadPlayer == 1 && !g_enabled) g_enabled = EnableKeys();
    if (CurrentSettings().autoPlayOpenedAudio == 1) g_playing = PlayDevice();
}

}  // namespace

bool IsKeypadPlayerEnabled() {
    return g_enabled;
}

void RetakeKeypadHotKeys() {
    if (!g_enabled || EnableKeys()) return;
    // Dead keys must not pass for a working player: it is off until enabled again.
    g_enabled = false;
    Speak(kKeysHeldElsewhere, kAtOnce);
}

void UnregisterKeypadHotKeys() {
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        if (g_heldKeys[i]) UnregisterHotKey(MainWindow(), kKeys[i].id);
    }
    g_heldKeys.reset();
}

void HandleKeypadHotKey(int hotKeyId) {
    if (IsReading() || !g_enabled) return;
    const auto key = std::find_if(std::begin(kKeys), std::end(kKeys),
                                  [hotKeyId](const KeypadKey& candidate) { return candidate.id == hotKeyId; });
    if (key != std::end(kKeys) && key->action) key->action(MainWindow(), 0);
}

void HandlePlaybackNotify(WPARAM flags, LPARAM) {
    if (!g_playing) return;
    if (flags == MCI_NOTIFY_FAILURE) {
        g_playing = false;
        return;
    }
    // A device may read 0 after the natural end: its own word counts too.
    if (flags != MCI_NOTIFY_SUCCESSFUL && DevicePosition() < DeviceLength()) return;
    StopDevice();
    SeekDevice(0);
    g_playing = false;
}

void ClosePlayer() {
    LeaveOpenFile();
    UnregisterKeypadHotKeys();
    g_enabled = false;
    g_speed = kNormalSpeed;
}

void ToggleKeypadPlayer(HWND, LPARAM) {
    if (g_enabled) {
        g_enabled = false;
        UnregisterKeypadHotKeys();
        Speak(L"テンキープレーヤー無効", kAtOnce);
    } else if (EnableKeys()) {
        g_enabled = true;
        Speak(L"テンキープレーヤー有効", kAtOnce);
    } else {
        Speak(kKeysHeldElsewhere, kAtOnce);
    }
}

void ReadKeypadPlayerState(HWND, LPARAM) {
    Speak(g_enabled ? L"テンキープレーヤー有効" : L"テンキープレーヤー無効", kAtOnce);
}

void ReadPlayerVolume(HWND, LPARAM) {
    Speak(L"再生ボリューム " + std::to_wstring(VolumeLevel()), kAnswerDelayMs);
}

void ReadPlayerSpeed(HWND, LPARAM) {
    Speak(SpeedText(g_speed), kAnswerDelayMs);
}

void ReadPlayerPosition(HWND, LPARAM) {
    if (!HasFile()) {
        SayNoFile(kAtOnce);
        return;
    }
    Speak(L"再生位置 " + SpokenTime(DevicePosition()), kAtOnce);
}

void ReadPlayerLength(HWND, LPARAM) {
    if (!HasFile()) {
        SayNoFile(kAtOnce);
        return;
    }
    Speak(L"総録音時間 " + SpokenTime(DeviceLength()), kAtOnce);
}

void ReadPlayerFileName(HWND, LPARAM) {
    if (!HasFile()) {
        SayNoFile(kAtOnce);
        return;
    }
    Speak(FileNameOf(g_path), kAtOnce);
}

void BackThreeSeconds(HWND, LPARAM) {
    SeekBy(-3000);
}

void ForwardThreeSeconds(HWND, LPARAM) {
    SeekBy(3000);
}

void BackTenSeconds(HWND, LPARAM) {
    SeekBy(-10000);
}

void ForwardTenSeconds(HWND, LPARAM) {
    SeekBy(10000);
}

void BackOneMinute(HWND, LPARAM) {
    SeekBy(-60000);
}

void ForwardOneMinute(HWND, LPARAM) {
    SeekBy(60000);
}

void BackToStart(HWND, LPARAM) {
    if (!HasFile()) {
        SayNoFile(kAnswerDelayMs);
        return;
    }
    if (g_playing) StopDevice();
    MoveTo(0, kAnswerDelayMs);
}

void MoveToEnd(HWND, LPARAM) {
    if (!HasFile()) {
        SayNoFile(kAtOnce);
        return;
    }
    if (g_playing) StopDevice();
    MoveTo(DeviceLength(), kAtOnce);
}

void PlayOrStop(HWND, LPARAM) {
    if (!HasFile()) {
        SayNoFile(kAnswerDelayMs);
        return;
    }
    if (g_playing) {
        StopDevice();
        g_playing = false;
    } else if (PlayDevice()) {
        g_playing = true;
    } else {
        Speak(L"再生できませんでした", kAnswerDelayMs);
    }
}

void VolumeUp(HWND, LPARAM) {
    ChangeVolume(1);
}

void VolumeDown(HWND, LPARAM) {
    ChangeVolume(-1);
}

void SpeedUp(HWND, LPARAM) {
    ChangeSpeed(std::min(g_speed + kSpeedStep, kFastestSpeed), kAnswerDelayMs);
}

void SpeedDown(HWND, LPARAM) {
    ChangeSpeed(std::max(g_speed - kSpeedStep, kSlowestSpeed), kAnswerDelayMs);
}

void NormalSpeed(HWND, LPARAM) {
    ChangeSpeed(kNormalSpeed, kAtOnce);
}

void OpenAudioFileCommand(HWND window, LPARAM) {
    std::wstring chosen;
    if (!AskFileOfKindToOpen(window, kAudioOpenDialog, g_lastChosen, chosen)) return;
    g_lastChosen = chosen;
    OpenAudioFile(chosen, 0);
}

void OpenFromAudioHistory(HWND window, LPARAM) {
    const std::optional<PathEntry> chosen = ChooseFromAudioHistory(window);
    if (!chosen) return;
    g_lastChosen = chosen->path;
    OpenAudioFile(chosen->path, chosen->position);
}
