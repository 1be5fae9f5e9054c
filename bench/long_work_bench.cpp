// Long work as a user meets it, on generated Japanese prose of the line
// count given (100,000 by default), in a fresh process: for opening, saving, converting
// the whole text to upper case and replace-all, how soon after the key the
// spoken cue reached NVDA (the stand-in library beside the program logs the
// time of every call) and when the answer came; and what one recovery copy
// costs: the UI thread's share (reading the text) and the whole write.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/main_window.h"
#include "bench_clock.h"
#include "bench_support.h"
#include "core/editor_control.h"
#include "core/paths.h"
#include "document/file_commands.h"
#include "document/recovery.h"
#include "resources/search_ids.h"
#include "speech/nvda_client.h"
#include "speech/speech.h"

namespace {

std::wstring g_log;
double g_keyMs = 0;

std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                         bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                                         nullptr)));
    return bytes;
}

// The stand-in's lines: "<ms> speakText <text>".
struct Spoken {
    double ms;
    std::string text;
};

std::vector<Spoken> SpokenSinceStart() {
    std::vector<Spoken> spoken;
    std::ifstream file(g_log.c_str());
    std::string line;
    const std::string marker = " speakText ";
    while (std::getline(file, line)) {
        const size_t at = line.find(marker);
        if (at != std::string::npos) spoken.push_back({std::atof(line.c_str()), line.substr(at + marker.size())});
    }
    return spoken;
}

void PumpFor(double ms) {
    for (const double start = NowMs(); NowMs() - start < ms;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(5);
    }
}

// Runs `work` as the key would, then prints when the cue and the last answer
// were handed to NVDA, counted from the key.
template <class Work>
void MeasureCue(const char* step, const wchar_t* cue, Work work) {
    DeleteFileW(g_log.c_str());
    g_keyMs = NowMs();
    work();
    // The answer waits out its delay on the speech worker.
    PumpFor(400);
    const std::vector<Spoken> spoken = SpokenSinceStart();
    const auto found = std::find_if(spoken.begin(), spoken.end(), [&](const Spoken& s) { return s.text == Utf8(cue); });
    std::printf("  %-24s", step);
    if (found == spoken.end()) std::printf(" no cue         ");
    else std::printf(" cue %7.0f ms  ", found->ms - g_keyMs);
    if (!spoken.empty()) std::printf(" answer %7.0f ms (%s)", spoken.back().ms - g_keyMs, spoken.back().text.c_str());
    std::printf("\n");
    std::fflush(stdout);
}

void CALLBACK AnswerReplaceDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = FindWindowW(L"#32770", L"置換");
    if (!dialog || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, timer);
    SetDlgItemTextW(dialog, IDC_REPLACE_TERM, L"。");
    SetDlgItemTextW(dialog, IDC_REPLACE_WITH, L"．");
    // The key: the button that starts the work.
    g_keyMs = NowMs();
    PostMessageW(dialog, WM_COMMAND, IDC_REPLACE_ALL, 0);
}

void MeasureCopy(HWND window) {
    constexpr int kRuns = 3;
    std::vector<double> uiThread, whole;
    for (int run = 0; run < kRuns; ++run) {
        CurrentEditor().ReplaceSelection(L"x");
        const double start = NowMs();
        OnRecoveryTimer(window);
        uiThread.push_back(NowMs() - start);
        WaitForRecoveryWrite(INFINITE);
        whole.push_back(NowMs() - start);
    }
    std::sort(uiThread.begin(), uiThread.end());
    std::sort(whole.begin(), whole.end());
    std::printf("  recovery copy: UI thread %.0f ms, written after %.0f ms (median of %d)\n", uiThread[kRuns / 2],
                whole[kRuns / 2], kRuns);
}

int Measure(long lines) {
    SetDllDirectoryW(L"");
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const HWND window = RegisterMainWindowClass(instance) ? CreateMainWindow(instance, L"") : nullptr;
    if (!window) {
        std::printf("the main window could not be made\n");
        return 1;
    }
    SetSpeechEngine(kNvda);
    // As the tests do: the stand-in beside this program, whatever the start chose.
    LoadNvdaClient(ProgramFolder());
    const std::wstring path = TempPath(L"orinda_long_work_" + std::to_wstring(lines) + L".txt");
    const std::wstring text = Prose(lines, 1);
    const size_t bytes = WriteUtf8(path, text);
    std::printf("%ld lines, %zu units, %zu bytes as UTF-8\n", lines, text.size(), bytes);
    MeasureCue("open", L"読み込んでいます", [&] { OpenChosenDocument(window, path); });
    MeasureCopy(window);
    MeasureCue("save", L"保存しています", [&] { SendMessageW(window, WM_COMMAND, kCmdSave, 0); });
    CurrentEditor().Select(0, CurrentEditor().TextLength());
    MeasureCue("upper case of all", L"変換しています", [&] { SendMessageW(window, WM_COMMAND, kCmdUpperCase, 0); });
    CurrentEditor().PlaceCaret(0);
    MeasureCue("replace-all", L"置換しています", [&] {
        SetTimer(nullptr, 0, 1, AnswerReplaceDialog);
        SendMessageW(window, WM_COMMAND, kCmdReplace, 0);
    });
    CurrentEditor().SetModified(false);
    DestroyWindow(window);
    RemoveRecoveryCopy();
    DeleteFileW(path.c_str());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    g_log = TempPath(L"orinda_long_work_speech.log");
    SetEnvironmentVariableW(L"ORINDA_FAKE_SPEECH_LOG", g_log.c_str());
    std::printf("Times from the key; a cue is due within 100 ms, before the work.\n");
    const int result = Measure(argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 100000);
    DeleteFileW(g_log.c_str());
    return result;
}
