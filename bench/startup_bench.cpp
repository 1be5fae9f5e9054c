// Start-up time: from process start until the main window is shown with its
// text area focused (and, with a file named on the command line, its name in
// the title), for Orinda and, side by side in the same run, for Wine's own
// notepad: without a file, with a 1-line and with a 10,000-line file of
// Japanese prose. Beside the starts with a file it sets the time the open
// command takes for the same file in a fresh process, and it prints where
// the time of a start goes, step by step, from runs of the program's
// benchmark copy with time marks (OrindaStartupSteps.exe beside this one).
//
// Arguments: PATH\Orinda.exe [runs]. As a child: --open PATH, which opens
// the file with the open command in a fresh main window and exits with the
// milliseconds it took.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "bench_clock.h"
#include "bench_support.h"
#include "document/file_commands.h"

namespace {

const wchar_t kOrindaTitleEnd[] = L" - オリンダ";

struct Target {
    std::wstring commandLine;
    const wchar_t* windowClass;
    const wchar_t* focusClass;
    std::wstring titleStart;  // empty: any title
};

struct Search {
    DWORD processId;
    const Target* target;
    HWND window;
};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

bool TitleStartsWith(HWND window, const std::wstring& start) {
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    return std::wstring(title).compare(0, start.size(), start) == 0;
}

BOOL CALLBACK FindReadyWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) || ClassOf(window) != search->target->windowClass)
        return TRUE;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(threadId, &info) && info.hwndFocus &&
        _wcsicmp(ClassOf(info.hwndFocus).c_str(), search->target->focusClass) == 0 &&
        TitleStartsWith(window, search->target->titleStart)) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

// One start; returns milliseconds until ready, or -1. `started` receives the
// counter time just before the process was created.
double TimeOneStart(const Target& target, double* started = nullptr) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = target.commandLine;
    const double start = NowMs();
    if (started) *started = start;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    Search search{process.dwProcessId, &target, nullptr};
    double ready = -1;
    while (NowMs() - start < 30000) {
        EnumWindows(FindReadyWindow, reinterpret_cast<LPARAM>(&search));
        if (search.window) {
            ready = NowMs() - start;
            break;
        }
        Sleep(1);
    }
    if (search.window) PostMessageW(search.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return ready;
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring FolderOfThisProgram() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// A start with its marks: the time of each mark since the process was
// created, and when the bench saw the window ready.
struct StepRun {
    std::vector<std::pair<std::string, double>> marks;
    double ready = 0;
};

bool TimeMarkedStart(const Target& target, const std::wstring& log, StepRun& run) {
    DeleteFileW(log.c_str());
    double started = 0;
    const double ready = TimeOneStart(target, &started);
    if (ready < 0) return false;
    FILE* file = _wfopen(log.c_str(), L"r");
    if (!file) return false;
    char line[256];
    while (std::fgets(line, sizeof line, file)) {
        char* nameStart = nullptr;
        const double at = std::strtod(line, &nameStart);
        std::string name(nameStart + 1);
        while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
        run.marks.emplace_back(name, at - started);
    }
    std::fclose(file);
    run.ready = ready;
    return !run.marks.empty();
}

// Each step's median time (the first counts from the process's creation)
// and the median time at which it ended.
void PrintSteps(const char* heading, const std::vector<StepRun>& runs) {
    if (runs.empty()) return;
    std::printf("\n%s, median of %zu runs\n", heading, runs.size());
    std::printf("| %-28s | %8s | %8s |\n", "step", "ms", "ends at");
    std::printf("| %-28s | %8s | %8s |\n", "---", "---:", "---:");
    for (size_t index = 0; index < runs.front().marks.size(); ++index) {
        std::vector<double> times, ends;
        for (const StepRun& run : runs) {
            if (index >= run.marks.size()) continue;
            ends.push_back(run.marks[index].second);
            times.push_back(run.marks[index].second - (index ? run.marks[index - 1].second : 0));
        }
        std::printf("| %-28s | %8.1f | %8.1f |\n", runs.front().marks[index].first.c_str(), Median(times), Median(ends));
    }
    std::vector<double> ready;
    for (const StepRun& run : runs) ready.push_back(run.ready);
    std::printf("seen ready (shown, the editor focused, the title set) at %.1f ms\n", Median(ready));
}

// Child mode: the open command's time for one file in a fresh process.
int TimeOpen(const wchar_t* path) {
    SetDllDirectoryW(L"");
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterMainWindowClass(instance)) return -1;
    const HWND window = CreateMainWindow(instance, L"");
    if (!window) return -1;
    Pump();
    const double start = NowMs();
    OpenChosenDocument(window, path);
    const double ms = NowMs() - start;
    DestroyWindow(window);
    return static_cast<int>(ms + 0.5);
}

double OpenTimeInChild(const std::wstring& path) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = Quoted(self) + L" --open " + Quoted(path);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    else TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<double>(static_cast<int>(code));
}

struct Case {
    const char* label;
    Target orinda;
    Target notepad;
    std::vector<double> orindaTimes, notepadTimes, openTimes;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"--open") == 0) return TimeOpen(argv[2]);
    if (argc < 2) {
        fwprintf(stderr, L"usage: startup_bench PATH\\Orinda.exe [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 12;
    const std::wstring orinda = Quoted(argv[1]);
    const std::wstring marked = Quoted(FolderOfThisProgram() + L"OrindaStartupSteps.exe");
    const std::wstring oneLine = TempPath(L"orinda_startup_1.txt");
    const std::wstring manyLines = TempPath(L"orinda_startup_10000.txt");
    WriteUtf8(oneLine, Prose(1, 1));
    WriteUtf8(manyLines, Prose(10000, 1));
    const std::wstring oneName = oneLine.substr(oneLine.find_last_of(L'\\') + 1);
    const std::wstring manyName = manyLines.substr(manyLines.find_last_of(L'\\') + 1);

    std::vector<Case> cases = {
        {"no file", {orinda, L"Orinda", L"RICHEDIT50W", L""}, {L"notepad.exe", L"Notepad", L"Edit", L""}, {}, {}, {}},
        {"1-line file", {orinda + L" " + Quoted(oneLine), L"Orinda", L"RICHEDIT50W", oneName + kOrindaTitleEnd},
         {L"notepad.exe " + Quoted(oneLine), L"Notepad", L"Edit", oneName}, {}, {}, {}},
        // Wine's notepad takes many seconds over 10,000 lines: Orinda alone.
        {"10,000-line file", {orinda + L" " + Quoted(manyLines), L"Orinda", L"RICHEDIT50W", manyName + kOrindaTitleEnd},
         {}, {}, {}, {}},
    };
    const Target markedPlain{marked, L"Orinda", L"RICHEDIT50W", L""};
    const Target markedFile{marked + L" " + Quoted(oneLine), L"Orinda", L"RICHEDIT50W", oneName + kOrindaTitleEnd};
    const std::wstring log = TempPath(L"orinda_startup_steps.txt");
    SetEnvironmentVariableW(L"ORINDA_STARTUP_STEPS_LOG", log.c_str());

    // One start of each first, not counted: it fills the file cache.
    for (const Case& each : cases) {
        TimeOneStart(each.orinda);
        if (!each.notepad.commandLine.empty()) TimeOneStart(each.notepad);
    }
    TimeOneStart(markedPlain);
    std::vector<StepRun> plainSteps, fileSteps;
    for (int run = 0; run < runs; ++run) {
        std::printf("run %2d:", run + 1);
        for (Case& each : cases) {
            const double a = TimeOneStart(each.orinda);
            const double b = each.notepad.commandLine.empty() ? 0 : TimeOneStart(each.notepad);
            if (a < 0 || b < 0) {
                std::printf("\n%s: a window did not become ready\n", each.label);
                return 1;
            }
            each.orindaTimes.push_back(a);
            if (!each.notepad.commandLine.empty()) each.notepadTimes.push_back(b);
            if (each.notepad.commandLine.empty()) std::printf("  %s %.0f", each.label, a);
            else std::printf("  %s %.0f/%.0f", each.label, a, b);
        }
        std::printf(" ms (Orinda/notepad)\n");
        std::fflush(stdout);
        StepRun plain, withFile;
        if (TimeMarkedStart(markedPlain, log, plain)) plainSteps.push_back(plain);
        if (TimeMarkedStart(markedFile, log, withFile)) fileSteps.push_back(withFile);
        for (size_t index = 1; index < cases.size(); ++index) {
            const std::wstring& path = index == 1 ? oneLine : manyLines;
            cases[index].openTimes.push_back(OpenTimeInChild(path));
        }
    }

    std::printf("\nStart-up, median of %d runs in one run\n", runs);
    std::printf("| %-16s | %10s | %10s | %5s |\n", "start", "Orinda ms", "notepad ms", "ratio");
    std::printf("| %-16s | %10s | %10s | %5s |\n", "---", "---:", "---:", "---:");
    for (const Case& each : cases) {
        const double a = Median(each.orindaTimes);
        if (each.notepadTimes.empty()) {
            std::printf("| %-16s | %10.1f | %10s | %5s |\n", each.label, a, "-", "-");
            continue;
        }
        const double b = Median(each.notepadTimes);
        std::printf("| %-16s | %10.1f | %10.1f | %5.2f |\n", each.label, a, b, a / b);
    }
    const double plain = Median(cases[0].orindaTimes);
    std::printf("\nA file on the command line: the start's time on top of the plain start, beside the open\n"
                "command's time for the same file in a fresh process (word wrap as the settings have it)\n");
    std::printf("| %-16s | %12s | %12s |\n", "file", "on top ms", "open ms");
    std::printf("| %-16s | %12s | %12s |\n", "---", "---:", "---:");
    for (size_t index = 1; index < cases.size(); ++index)
        std::printf("| %-16s | %12.1f | %12.1f |\n", cases[index].label, Median(cases[index].orindaTimes) - plain,
                    Median(cases[index].openTimes));
    PrintSteps("Where a start without a file goes (the benchmark copy, with time marks)", plainSteps);
    PrintSteps("Where a start with the 1-line file goes", fileSteps);
    DeleteFileW(oneLine.c_str());
    DeleteFileW(manyLines.c_str());
    DeleteFileW(log.c_str());
    return 0;
}
