#include "support/test_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/profile.h"
#include "core/editor_control.h"
#include "app/main_window.h"
#include "core/app_window.h"
#include "core/data_folder.h"
#include "core/file_io.h"
#include "core/window_text.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "editing/range_selection.h"
#include "speech/continuous_reading.h"
#include "speech/nvda_client.h"
#include "speech/screen_readers.h"
#include "speech/speech.h"

namespace testing_support {

namespace {

std::wstring SpeechLogPath() {
    wchar_t path[MAX_PATH] = {};
    GetEnvironmentVariableW(L"ORINDA_FAKE_SPEECH_LOG", path, MAX_PATH);
    return path;
}

struct PendingAnswer {
    std::wstring title;
    std::function<void(HWND)> answer;
};
std::vector<PendingAnswer> g_pendingAnswers;
UINT_PTR g_answerTimer = 0;

HWND FindDialog(const std::wstring& title) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"#32770", title.c_str())) != nullptr;)
        if (IsWindowVisible(window) && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) return window;
    return nullptr;
}

void CALLBACK AnswerTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    for (auto pending = g_pendingAnswers.begin(); pending != g_pendingAnswers.end(); ++pending) {
        const HWND dialog = FindDialog(pending->title);
        if (!dialog) continue;
        const auto answer = pending->answer;
        g_pendingAnswers.erase(pending);
        if (g_pendingAnswers.empty()) {
            KillTimer(nullptr, g_answerTimer);
            g_answerTimer = 0;
        }
        answer(dialog);
        return;
    }
}

OutsideWorld g_realOutside{};

// Read-only files too, which remove_all would leave.
void DeleteFilesBelow(const std::wstring& folder, bool andFolders = false) {
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
        if (!entry.is_regular_file(error)) continue;
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(entry.path().c_str());
    }
    if (andFolders) std::filesystem::remove_all(folder, error);
}

}  // namespace

void InstallOutsideStandIns() {
    g_realOutside = Outside();
    Outside().makerSite = [] { return std::wstring(); };
    Outside().httpGet = [](const std::wstring& url, size_t, std::string&) {
        ADD_FAILURE() << "unexpected download of " << ::testing::PrintToString(url);
        return false;
    };
    Outside().shellOpen = [](const std::wstring& target) {
        ADD_FAILURE() << "unexpected opening of " << ::testing::PrintToString(target);
        return false;
    };
}

const OutsideWorld& RealOutsideWorld() {
    return g_realOutside;
}

void ClearSpeechLog() {
    // A message still waiting out its delay would land after the clear and
    // pass for an answer of whatever comes next.
    PumpUntil([] { return !IsSpeechWaiting(); }, 2000);
    DeleteFileW(SpeechLogPath().c_str());
}

std::vector<SpeechCall> ReadSpeechLog() {
    std::vector<SpeechCall> calls;
    std::ifstream file(SpeechLogPath().c_str(), std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        SpeechCall call;
        fields >> call.ms >> call.function;
        std::string rest;
        std::getline(fields, rest);
        if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
        call.text = DecodeBytes(reinterpret_cast<const unsigned char*>(rest.data()), rest.size(), kUtf8);
        calls.push_back(call);
    }
    return calls;
}

std::vector<std::wstring> SpokenTexts(const char* function) {
    std::vector<std::wstring> texts;
    for (const auto& call : ReadSpeechLog())
        if (call.function == function) texts.push_back(call.text);
    return texts;
}

bool WaitForSpeech(const std::wstring& text, unsigned timeoutMs, const char* function) {
    return PumpUntil(
        [&] {
            const auto texts = SpokenTexts(function);
            return std::find(texts.begin(), texts.end(), text) != texts.end();
        },
        timeoutMs);
}

double SpeechDelay(const std::wstring& text, double since, unsigned timeoutMs) {
    if (!WaitForSpeech(text, timeoutMs)) return -1;
    for (const auto& call : ReadSpeechLog())
        if (call.function == "speakText" && call.text == text && call.ms >= since) return call.ms - since + 1;
    return -1;
}

std::vector<std::wstring> Heard() {
    PumpUntil([] { return !SpokenTexts().empty(); }, 2000);
    Settle();
    return SpokenTexts();
}

bool Settle() {
    return PumpUntil(
        [] {
            MSG message;
            return !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && !IsSpeechWaiting();
        },
        10000);
}

bool NothingHeard() {
    Settle();
    const auto calls = ReadSpeechLog();
    return std::all_of(calls.begin(), calls.end(),
                       [](const SpeechCall& call) { return call.function == "cancelSpeech"; });
}

void ResetFakeSpeech() {
    SetEnvironmentVariableW(L"ORINDA_FAKE_NVDA_MS_PER_UNIT", L"3");
    for (const wchar_t* name : {L"ORINDA_FAKE_NVDA_NOT_RUNNING", L"ORINDA_FAKE_NVDA_BLOCK_MS",
                                L"ORINDA_FAKE_NVDA_SPEAK_SENDS", L"ORINDA_FAKE_PCTALKER_RUNNING",
                                L"ORINDA_FAKE_PCTALKER_BROKEN"})
        SetEnvironmentVariableW(name, nullptr);
}

bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs) {
    static const HACCEL accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"ORA");
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            const HWND window = MainWindow();
            if (window && TranslateAcceleratorW(window, accelerators, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs(keys.size() * 2);
    size_t down = 0;
    for (WORD key : keys) {
        INPUT& up = inputs[inputs.size() - 1 - down];
        inputs[down].type = up.type = INPUT_KEYBOARD;
        inputs[down++].ki.wVk = up.ki.wVk = key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // The keys are queued by now: handled once this thread's queue is empty.
    Settle();
}

void AnswerDialog(const std::wstring& title, std::function<void(HWND)> answer) {
    g_pendingAnswers.push_back({title, std::move(answer)});
    if (!g_answerTimer) g_answerTimer = SetTimer(nullptr, 0, 50, AnswerTimerProc);
}

void AnswerWith(const std::wstring& title, int button, bool* answered) {
    AnswerDialog(title, [button, answered](HWND dialog) {
        if (answered) *answered = true;
        PostMessageW(dialog, WM_COMMAND, button, 0);
    });
}

void AnswerBoxKeepingText(const std::wstring& title, std::wstring* text) {
    AnswerDialog(title, [text](HWND box) {
        *text = DialogItemText(box, 0xFFFF);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
}

void AnswerFileDialog(const std::wstring& title, const std::wstring& path) {
    constexpr int kFileNameEdit = 0x47C;
    AnswerDialog(title, [path](HWND dialog) {
        SetDlgItemTextW(dialog, kFileNameEdit, path.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
}

void ClickButton(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring DialogItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

void DeleteSettingsKey() {
    RegDeleteKeyW(HKEY_CURRENT_USER, SettingsKey().c_str());
}

DWORD ReadSettingNumber(const wchar_t* name, bool* present) {
    DWORD value = 0;
    DWORD size = sizeof value;
    const bool found = RegGetValueW(HKEY_CURRENT_USER, SettingsKey().c_str(), name, RRF_RT_REG_DWORD, nullptr, &value,
                                    &size) == ERROR_SUCCESS;
    if (present) *present = found;
    return value;
}

void WriteSettingNumber(const wchar_t* name, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, SettingsKey().c_str(), name, REG_DWORD, &value, sizeof value);
}

void WriteSettingString(const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, SettingsKey().c_str(), name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

SettingValue ReadSetting(const wchar_t* name) {
    SettingValue value;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.present = true;
        value.bytes.resize(size);
        RegQueryValueExW(key, name, nullptr, &value.type, value.bytes.data(), &size);
    }
    RegCloseKey(key);
    return value;
}

std::vector<std::wstring> ListBoxItems(HWND list) {
    std::vector<std::wstring> items;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        std::wstring item(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, index, 0)) + 1, L'\0');
        item.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

void PressDeleteInList(HWND list, size_t linesAfter) {
    SetFocus(list);
    PressKeys({VK_DELETE});
    PumpUntil([list, linesAfter] { return ListBoxItems(list).size() == linesAfter; }, 2000);
}

void ClearDataFolder() {
    ASSERT_TRUE(PrepareDataFolder());
    DeleteFilesBelow(DataFolder());
}

ScratchFolder::ScratchFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + name;
    // What a test that crashed left behind is not this test's.
    DeleteFilesBelow(path_, true);
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    DeleteFilesBelow(path_, true);
}

void WriteTestFile(const std::wstring& path, const std::string& bytes) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    ReadFileBytes(path, 16 << 20, bytes);
    return bytes;
}

void MainWindowTest::SetUp() {
    outside_ = Outside();
    DeleteSettingsKey();
    ClearDataFolder();
    // One process holds many windows here, one after another: what a real
    // process starts without must not leak from an earlier test.
    CancelRangeSelection();
    SetDocumentPath(L"");
    SetDocumentEncoding(kUtf8);
    SetLoadedText(L"");
    SetInsertPath(L"");
    SetEditable(true);
    SetLockToggleAllowed(true);
    window_ = CreateMainWindow(GetModuleHandleW(nullptr), L"");
    ASSERT_NE(window_, nullptr);
    SetSpeechEngine(kNvda);
    SetForegroundWindow(window_);
    SetFocus(EditorWindow());
    // Keys go to whichever window is in front.
    ASSERT_TRUE(PumpUntil([this] { return GetForegroundWindow() == window_; }, 2000));
    ClearSpeechLog();
}

void MainWindowTest::TearDown() {
    Outside() = outside_;
    if (IsReading()) StopReading();
    if (IsBrailleOn()) ToggleBraille();
    ResetFakeSpeech();
    SetSpeechLibraryFolder(L"");
    LoadNvdaClient(ExecutableFolder());
    if (IsWindow(window_)) {
        CurrentEditor().SetModified(false);
        SendMessageW(window_, WM_CLOSE, 0, 0);
    }
    PumpUntil([this] { return !IsWindow(window_); }, 2000);
    // Speech workers of this test hand over before the next test's log starts.
    ClearSpeechLog();
    // An answer that never found its dialog must not answer another test's.
    g_pendingAnswers.clear();
    if (g_answerTimer) KillTimer(nullptr, g_answerTimer);
    g_answerTimer = 0;
}

void MainWindowTest::SetEditorText(const std::wstring& text) {
    const Editor editor = CurrentEditor();
    editor.SetText(text);
    editor.SetModified(false);
    editor.PlaceCaret(0);
}

}  // namespace testing_support
