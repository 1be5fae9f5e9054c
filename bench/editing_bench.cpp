// Large documents as a user meets them. For generated Japanese prose of
// 10,000, 30,000 and 100,000 lines, word wrap off and on, each step goes
// through the program's own commands in a fresh process: opening a file
// (the first document, then a second one of the same size over it), New,
// opening again after New, reloading in another encoding, replace-all of a
// character found on every non-empty line and its Ctrl+Z, the block list,
// and jumping to the last line. Each time is set beside the floor, measured
// in the same run: the first EM_STREAMIN of the same text into a fresh,
// empty control made like the editor, in a fresh process of its own. The private
// memory after each step, the process's peak, and the growth of each time
// from the smallest to the largest size are printed too. Sizes below 100,000
// lines run three times (floor and steps in turn) and show the median; the
// largest runs once.
//
// Arguments: line counts (default 10000 30000 100000), "nowrap" or
// "wraponly" to measure one wrap setting only.
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/commands.h"
#include "bench_clock.h"
#include "bench_support.h"
#include "core/editor_control.h"
#include "document/encodings.h"
#include "document/file_commands.h"
#include "resources/document_ids.h"
#include "resources/jump_to_line_ids.h"
#include "resources/search_ids.h"

namespace {

constexpr double kMiB = 1048576.0;
// A child that runs longer than this is stopped; what it reached is printed.
constexpr DWORD kChildLimitMs = 45 * 60 * 1000;

std::wstring DocumentPath(long lines, wchar_t which) {
    return TempPath(L"orinda_bench_" + std::to_wstring(lines) + L"_" + which + L".txt");
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

// The results file takes one line per figure: lines, wrap, step, ms, MiB.
void Record(const std::wstring& results, long lines, bool wrap, const char* step, double ms, double mib) {
    std::ofstream(results.c_str(), std::ios::app) << lines << ' ' << wrap << ' ' << step << ' ' << ms << ' ' << mib
                                                  << '\n';
    std::printf("  %-22s %10.0f ms  %7.0f MiB\n", step, ms, mib);
    std::fflush(stdout);
}

// The floor: the text with the control's own line breaks, streamed into a
// fresh, empty control that the program made like its editor (as it does for
// every load) once its window existed.
struct FloorSource {
    const std::wstring& text;
    size_t next = 0;
};

DWORD CALLBACK GiveFloorText(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written) {
    auto& source = *reinterpret_cast<FloorSource*>(cookie);
    const size_t units = std::min(static_cast<size_t>(size) / sizeof(wchar_t), source.text.size() - source.next);
    std::memcpy(buffer, source.text.data() + source.next, units * sizeof(wchar_t));
    source.next += units;
    *written = static_cast<LONG>(units * sizeof(wchar_t));
    return 0;
}

int MeasureFloor(long lines, bool wrap, const std::wstring& results) {
    const HWND window = MakeMainWindow(wrap);
    if (!window) return 1;
    std::wstring text = Prose(lines, 1);
    std::wstring controlText;
    controlText.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == L'\n' && i > 0 && text[i - 1] == L'\r')) controlText += text[i];
    text.clear();
    if (!RenewEditorControl()) return 1;
    FloorSource source{controlText};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, GiveFloorText};
    const double start = NowMs();
    SendMessageW(EditorWindow(), EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
    const double ms = NowMs() - start;
    Record(results, lines, wrap, "floor", ms, Memory().PeakPagefileUsage / kMiB);
    CurrentEditor().SetModified(false);
    DestroyWindow(window);
    return 0;
}

// A dialog answered by a timer of this thread as soon as it shows.
struct PendingAnswer {
    const wchar_t* title;
    void (*answer)(HWND dialog);
};
PendingAnswer g_pending{};
std::wstring g_jumpLine;

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = FindWindowW(L"#32770", g_pending.title);
    if (!dialog || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, timer);
    g_pending.answer(dialog);
}

double TimeCommand(HWND window, WORD command, const wchar_t* title = nullptr, void (*answer)(HWND) = nullptr) {
    UINT_PTR timer = 0;
    if (title) {
        g_pending = {title, answer};
        timer = SetTimer(nullptr, 0, 1, AnswerDialog);
    }
    const double start = NowMs();
    SendMessageW(window, WM_COMMAND, command, 0);
    const double ms = NowMs() - start;
    if (timer) KillTimer(nullptr, timer);
    return ms;
}

template <class Work>
double Time(Work work) {
    const double start = NowMs();
    work();
    return NowMs() - start;
}

void PressCtrlZ() {
    INPUT inputs[4]{};
    for (INPUT& input : inputs) input.type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_CONTROL;
    inputs[1].ki.wVk = 'Z';
    inputs[2].ki.wVk = 'Z';
    inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[3].ki.wVk = VK_CONTROL;
    inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, inputs, sizeof(INPUT));
}

int MeasureSteps(long lines, bool wrap, const std::wstring& results) {
    const HWND window = MakeMainWindow(wrap);
    if (!window) return 1;
    SetForegroundWindow(window);
    SetFocus(EditorWindow());
    Pump();
    const std::wstring first = DocumentPath(lines, L'a');
    const std::wstring second = DocumentPath(lines, L'b');
    auto record = [&](const char* step, double ms) { Record(results, lines, wrap, step, ms, Memory().PagefileUsage / kMiB); };

    record("open (first document)", Time([&] { OpenChosenDocument(window, first); }));
    record("open over the first", Time([&] { OpenChosenDocument(window, second); }));
    record("New", TimeCommand(window, kCmdNew));
    record("open after New", Time([&] { OpenChosenDocument(window, first); }));
    record("reload as UTF-8 (BOM)", TimeCommand(window, kCmdReloadWithEncoding, L"文字コード選択", [](HWND dialog) {
               SendDlgItemMessageW(dialog, IDC_ENCODING_COMBO, CB_SETCURSEL, 2, 0);
               PostMessageW(dialog, WM_COMMAND, IDOK, 0);
           }));
    CurrentEditor().PlaceCaret(0);
    const HWND beforeReplace = EditorWindow();
    record("replace-all", TimeCommand(window, kCmdReplace, L"置換", [](HWND dialog) {
               SetDlgItemTextW(dialog, IDC_REPLACE_TERM, L"。");
               SetDlgItemTextW(dialog, IDC_REPLACE_WITH, L"．");
               PostMessageW(dialog, WM_COMMAND, IDC_REPLACE_ALL, 0);
           }));
    if (EditorWindow() == beforeReplace) std::printf("  (replace-all changed nothing)\n");
    SetForegroundWindow(window);
    SetFocus(EditorWindow());
    Pump();
    const HWND replaced = EditorWindow();
    record("Ctrl+Z of it", Time([&] {
               PressCtrlZ();
               for (const double start = NowMs(); EditorWindow() == replaced && NowMs() - start < 600000;) {
                   Pump();
                   MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
               }
           }));
    if (EditorWindow() == replaced) std::printf("  (Ctrl+Z brought nothing back)\n");
    record("block list", TimeCommand(window, kCmdBlockList, L"ブロック移動", [](HWND dialog) {
               PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
           }));
    g_jumpLine = std::to_wstring(CurrentEditor().LineCount());
    record("jump to the last line", TimeCommand(window, kCmdJumpToLine, L"行移動", [](HWND dialog) {
               SetDlgItemTextW(dialog, IDC_LINE_NUMBER_COMBO, g_jumpLine.c_str());
               PostMessageW(dialog, WM_COMMAND, IDOK, 0);
           }));
    Record(results, lines, wrap, "peak", 0, Memory().PeakPagefileUsage / kMiB);
    CurrentEditor().SetModified(false);
    DestroyWindow(window);
    return 0;
}

// Runs this program in child mode and waits for it; false when it had to be
// stopped or failed.
bool RunChild(const wchar_t* self, const wchar_t* mode, long lines, bool wrap, const std::wstring& results) {
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + mode + L" " + std::to_wstring(lines) + L" " +
                               (wrap ? L"1" : L"0") + L" \"" + results + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return false;
    const bool ended = WaitForSingleObject(process.hProcess, kChildLimitMs) == WAIT_OBJECT_0;
    DWORD code = 1;
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
        std::printf("  stopped after %lu s\n", kChildLimitMs / 1000);
    } else {
        GetExitCodeProcess(process.hProcess, &code);
        if (code != 0) std::printf("  ended with code 0x%08lx\n", code);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return ended && code == 0;
}

struct Figure {
    double ms = 0;
    double mib = 0;
};

// The run with the median time.
Figure Median(std::vector<Figure> runs) {
    std::sort(runs.begin(), runs.end(), [](const Figure& a, const Figure& b) { return a.ms < b.ms; });
    return runs[runs.size() / 2];
}

void PrintTables(const std::wstring& results, const std::vector<long>& sizes) {
    std::ifstream file(results.c_str());
    std::map<std::string, std::map<long, std::vector<Figure>>> runs[2];
    std::vector<std::string> order;
    std::string line;
    while (std::getline(file, line)) {
        const size_t stepStart = line.find(' ', line.find(' ') + 1) + 1;
        const size_t stepEnd = line.rfind(' ', line.rfind(' ') - 1);
        std::istringstream head(line.substr(0, stepStart)), tail(line.substr(stepEnd));
        long lines = 0;
        int wrap = 0;
        Figure figure;
        head >> lines >> wrap;
        tail >> figure.ms >> figure.mib;
        const std::string step = line.substr(stepStart, stepEnd - stepStart);
        if (std::find(order.begin(), order.end(), step) == order.end()) order.push_back(step);
        runs[wrap][step][lines].push_back(figure);
    }
    std::map<std::string, std::map<long, Figure>> byStep[2];
    for (int wrap = 0; wrap < 2; ++wrap)
        for (const auto& [step, sizesRun] : runs[wrap])
            for (const auto& [lines, figures] : sizesRun) byStep[wrap][step][lines] = Median(figures);
    for (int wrap = 0; wrap < 2; ++wrap) {
        if (byStep[wrap].empty()) continue;
        std::printf("\nWord wrap %s: time in ms (ratio to the floor), private MiB after the step\n", wrap ? "on" : "off");
        std::printf("%-22s", "step");
        for (long size : sizes) std::printf(" | %26ld lines", size);
        std::printf(" | growth %ld to %ld\n", sizes.front(), sizes.back());
        for (const std::string& step : order) {
            const auto& figures = byStep[wrap][step];
            std::printf("%-22s", step.c_str());
            for (long size : sizes) {
                const auto found = figures.find(size);
                const auto floor = byStep[wrap]["floor"].find(size);
                if (found == figures.end()) {
                    std::printf(" | %32s", "-");
                } else if (step == "peak" || step == "floor" || floor == byStep[wrap]["floor"].end()) {
                    std::printf(" | %9.0f ms %9s %7.0f MiB", found->second.ms, "", found->second.mib);
                } else {
                    std::printf(" | %9.0f ms (%5.2fx) %7.0f MiB", found->second.ms,
                                found->second.ms / floor->second.ms, found->second.mib);
                }
            }
            const auto small = figures.find(sizes.front());
            const auto large = figures.find(sizes.back());
            if (small != figures.end() && large != figures.end() && sizes.size() > 1)
                std::printf(" | time x%.1f, memory x%.1f", step == "peak" ? 0.0 : large->second.ms / small->second.ms,
                            large->second.mib / small->second.mib);
            std::printf("\n");
        }
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 5 && (std::wcscmp(argv[1], L"--floor") == 0 || std::wcscmp(argv[1], L"--steps") == 0)) {
        const long lines = std::wcstol(argv[2], nullptr, 10);
        const bool wrap = argv[3][0] == L'1';
        return std::wcscmp(argv[1], L"--floor") == 0 ? MeasureFloor(lines, wrap, argv[4])
                                                      : MeasureSteps(lines, wrap, argv[4]);
    }
    std::vector<long> sizes;
    std::vector<bool> wraps = {false, true};
    for (int index = 1; index < argc; ++index) {
        if (std::wcscmp(argv[index], L"nowrap") == 0) wraps = {false};
        else if (std::wcscmp(argv[index], L"wraponly") == 0) wraps = {true};
        else sizes.push_back(std::wcstol(argv[index], nullptr, 10));
    }
    if (sizes.empty()) sizes = {10000, 30000, 100000};
    const std::wstring results = TempPath(L"orinda_editing_bench.txt");
    DeleteFileW(results.c_str());
    for (const long lines : sizes) {
        const std::wstring text = Prose(lines, 1);
        const size_t bytes = WriteUtf8(DocumentPath(lines, L'a'), text);
        WriteUtf8(DocumentPath(lines, L'b'), Prose(lines, 2));
        std::printf("%ld lines, %zu units (%.1f MiB as UTF-8)\n", lines, text.size(), bytes / kMiB);
        std::fflush(stdout);
        for (const bool wrap : wraps) {
            std::printf(" word wrap %s\n", wrap ? "on" : "off");
            std::fflush(stdout);
            for (int run = lines < 100000 ? 3 : 1; run > 0; --run)
                if (RunChild(argv[0], L"--floor", lines, wrap, results))
                    RunChild(argv[0], L"--steps", lines, wrap, results);
        }
        DeleteFileW(DocumentPath(lines, L'a').c_str());
        DeleteFileW(DocumentPath(lines, L'b').c_str());
    }
    PrintTables(results, sizes);
    return 0;
}
