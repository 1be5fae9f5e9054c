// Answer latency: the time from a key press to the answer reaching NVDA,
// for each reading and navigation command, in documents of Japanese prose
// of 10,000 and 100,000 lines, word wrap off and on. The keys go in as real
// key presses through the program's own accelerator table; the stand-in
// NVDA library beside the program (tests/fakes) logs each speakText with
// the performance counter, which is the same in every thread and process.
// Each answer waits its own delay first; the goal is that delay plus 20 ms.
// Every size and wrap setting runs in a fresh process, with the caret put in
// the middle of the document before each key; each key is pressed five
// times and the median is shown.
//
// Arguments: line counts (default 10000 100000). As a child: --measure
// LINES WRAP FILE RESULTS.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "bench_support.h"
#include "core/editor_control.h"
#include "document/file_commands.h"
#include "speech/speech.h"

namespace {

constexpr int kPresses = 5;
constexpr double kAnswerLimitMs = 10000;
constexpr double kGoalSlackMs = 20;

struct Key {
    WORD key;
    bool ctrl;
    bool alt;
};

struct Command {
    const char* name;
    std::vector<Key> before;  // keys pressed first, not timed (their answers are let pass)
    Key key;
    unsigned delayMs;
};

const Command kCommands[] = {
    {"caret position (Ctrl+7)", {}, {'7', true, false}, kAnswerDelayMs},
    {"line (Ctrl+4)", {}, {'4', true, false}, kAnswerDelayMs},
    {"line to caret (Ctrl+5)", {}, {'5', true, false}, kAnswerDelayMs},
    {"caret to line end (Ctrl+6)", {}, {'6', true, false}, kAnswerDelayMs},
    {"next page (PageDown)", {}, {VK_NEXT, false, false}, kAnswerDelayMs},
    {"previous page (PageUp)", {}, {VK_PRIOR, false, false}, kAnswerDelayMs},
    {"next block (Ctrl+Down)", {}, {VK_DOWN, true, false}, kAtOnce},
    {"previous block (Ctrl+Up)", {}, {VK_UP, true, false}, kAtOnce},
    {"start of text (Ctrl+Home)", {}, {VK_HOME, true, false}, kAnswerDelayMs},
    {"end of text (Ctrl+End)", {}, {VK_END, true, false}, kAnswerDelayMs},
    {"line count (Ctrl+8)", {}, {'8', true, false}, kAnswerDelayMs},
    {"characters (Ctrl+9)", {}, {'9', true, false}, kAnswerDelayMs},
    {"with line breaks (Ctrl+0)", {}, {'0', true, false}, kAnswerDelayMs},
    {"range start (F4)", {}, {VK_F4, false, false}, kAnswerDelayMs},
    {"range start state (Alt+4)", {{VK_F4, false, false}}, {'4', false, true}, kAnswerDelayMs},
};

std::wstring g_speechLog;
HWND g_window = nullptr;
HACCEL g_accelerators = nullptr;

void PumpWithAccelerators() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (g_accelerators && TranslateAcceleratorW(g_window, g_accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Press(const Key& key) {
    INPUT inputs[4]{};
    UINT count = 0;
    const WORD modifier = key.ctrl ? VK_CONTROL : key.alt ? VK_MENU : 0;
    auto add = [&](WORD vk, bool up) {
        inputs[count].type = INPUT_KEYBOARD;
        inputs[count].ki.wVk = vk;
        inputs[count].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ++count;
    };
    if (modifier) add(modifier, false);
    add(key.key, false);
    add(key.key, true);
    if (modifier) add(modifier, true);
    SendInput(count, inputs, sizeof(INPUT));
}

long long LogSize() {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(g_speechLog.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The time stamp of the first speakText logged after `from` bytes, or -1.
double FirstSpeakTextAfter(long long from) {
    std::ifstream file(g_speechLog.c_str(), std::ios::binary);
    file.seekg(from);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        double stamp = 0;
        std::string function;
        if (fields >> stamp >> function && function == "speakText") return stamp;
    }
    return -1;
}

// Pumps until an answer after `from` is logged; its time stamp, or -1.
double WaitForAnswer(long long from, double limitMs) {
    for (const double start = NowMs(); NowMs() - start < limitMs;) {
        PumpWithAccelerators();
        if (LogSize() > from) {
            const double stamp = FirstSpeakTextAfter(from);
            if (stamp >= 0) return stamp;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    return -1;
}

// Lets every answer still waiting out its delay go by.
void Settle() {
    for (const double start = NowMs(); NowMs() - start < kAnswerLimitMs && IsSpeechWaiting();) {
        PumpWithAccelerators();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    const double start = NowMs();
    while (NowMs() - start < 50) {
        PumpWithAccelerators();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

int Measure(long lines, bool wrap, const wchar_t* file, const wchar_t* results) {
    wchar_t speechLog[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"ORINDA_FAKE_SPEECH_LOG", speechLog, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    g_speechLog = speechLog;
    g_window = MakeMainWindow(wrap, kNvda);
    if (!g_window) return 1;
    g_accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"ORA");
    OpenChosenDocument(g_window, file);
    SetForegroundWindow(g_window);
    SetFocus(EditorWindow());
    Settle();
    const Editor editor = CurrentEditor();
    const long middle = editor.LineStart(editor.LineCount() / 2);
    std::ofstream out(results, std::ios::app);
    for (const Command& command : kCommands) {
        std::vector<double> times;
        for (int press = 0; press < kPresses; ++press) {
            // Esc ends a marked range; its answer, if any, goes by first.
            Press({VK_ESCAPE, false, false});
            CurrentEditor().PlaceCaret(middle);
            for (const Key& key : command.before) Press(key);
            Settle();
            const long long from = LogSize();
            const double pressed = NowMs();
            Press(command.key);
            const double answered = WaitForAnswer(from, kAnswerLimitMs);
            times.push_back(answered < 0 ? -1 : answered - pressed);
        }
        std::sort(times.begin(), times.end());
        out << lines << ' ' << wrap << ' ' << times[times.size() / 2] << ' ' << command.name << '\n';
    }
    Press({VK_ESCAPE, false, false});
    Settle();
    CurrentEditor().SetModified(false);
    DestroyWindow(g_window);
    return 0;
}

bool RunChild(const wchar_t* self, long lines, bool wrap, const std::wstring& file, const std::wstring& results) {
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --measure " + std::to_wstring(lines) + L" " +
                               (wrap ? L"1" : L"0") + L" \"" + file + L"\" \"" + results + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    const bool ended = WaitForSingleObject(process.hProcess, 30 * 60 * 1000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 1);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return ended && code == 0;
}

void PrintTable(const std::wstring& results, const std::vector<long>& sizes) {
    std::map<std::string, std::map<std::pair<long, int>, double>> figures;
    std::ifstream file(results.c_str());
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        long lines = 0;
        int wrap = 0;
        double ms = 0;
        fields >> lines >> wrap >> ms;
        std::string name;
        std::getline(fields >> std::ws, name);
        figures[name][{lines, wrap}] = ms;
    }
    std::printf("\nAnswer latency: ms from the key to speakText, median of %d presses (goal: its delay + %.0f ms)\n",
                kPresses, kGoalSlackMs);
    std::printf("| %-28s | %5s |", "command", "goal");
    for (long size : sizes)
        for (int wrap = 0; wrap < 2; ++wrap) std::printf(" %7ld %-4s |", size, wrap ? "wrap" : "");
    std::printf("\n| %-28s | %5s |", "---", "---:");
    for (size_t column = 0; column < sizes.size() * 2; ++column) std::printf(" %12s |", "---:");
    std::printf("\n");
    int misses = 0;
    for (const Command& command : kCommands) {
        const double goal = command.delayMs + kGoalSlackMs;
        std::printf("| %-28s | %5.0f |", command.name, goal);
        for (long size : sizes) {
            for (int wrap = 0; wrap < 2; ++wrap) {
                const auto& row = figures[command.name];
                const auto found = row.find({size, wrap});
                if (found == row.end()) {
                    std::printf(" %12s |", "-");
                } else if (found->second < 0) {
                    std::printf(" %12s |", "no answer");
                    ++misses;
                } else {
                    const bool miss = found->second > goal;
                    misses += miss;
                    std::printf(" %10.1f%s |", found->second, miss ? " !" : "  ");
                }
            }
        }
        std::printf("\n");
    }
    std::printf("%d figure(s) over the goal (marked !)\n", misses);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 6 && std::wcscmp(argv[1], L"--measure") == 0)
        return Measure(std::wcstol(argv[2], nullptr, 10), argv[3][0] == L'1', argv[4], argv[5]);
    std::vector<long> sizes;
    for (int index = 1; index < argc; ++index) sizes.push_back(std::wcstol(argv[index], nullptr, 10));
    if (sizes.empty()) sizes = {10000, 100000};
    const std::wstring results = TempPath(L"orinda_latency_bench.txt");
    const std::wstring speechLog = TempPath(L"orinda_latency_speech.txt");
    DeleteFileW(results.c_str());
    DeleteFileW(speechLog.c_str());
    SetEnvironmentVariableW(L"ORINDA_FAKE_SPEECH_LOG", speechLog.c_str());
    const std::wstring document = TempPath(L"orinda_latency_document.txt");
    for (const long lines : sizes) {
        WriteUtf8(document, Prose(lines, 1));
        // Wrap on first, so that the settings end as they usually are: off.
        for (const bool wrap : {true, false}) {
            std::printf("%ld lines, word wrap %s\n", lines, wrap ? "on" : "off");
            std::fflush(stdout);
            if (!RunChild(argv[0], lines, wrap, document, results)) std::printf("  the run did not finish\n");
        }
    }
    DeleteFileW(document.c_str());
    DeleteFileW(speechLog.c_str());
    PrintTable(results, sizes);
    return 0;
}
