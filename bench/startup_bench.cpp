// Start-up time: from process start until the main window is shown with its
// text area focused, for Orinda and, side by side in the same run, for Wine's
// own notepad. Prints every run, the medians and their ratio.
#include <windows.h>

#include "bench_clock.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Target {
    const wchar_t* name;
    std::wstring commandLine;
    const wchar_t* windowClass;
    const wchar_t* focusClass;
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

BOOL CALLBACK FindReadyWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) || ClassOf(window) != search->target->windowClass)
        return TRUE;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(threadId, &info) && info.hwndFocus &&
        _wcsicmp(ClassOf(info.hwndFocus).c_str(), search->target->focusClass) == 0) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

// One start; returns milliseconds until ready, or -1.
double TimeOneStart(const Target& target) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = target.commandLine;
    const double start = NowMs();
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
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fwprintf(stderr, L"usage: startup_bench PATH\\Orinda.exe [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 12;
    const Target orinda{L"Orinda", L"\"" + std::wstring(argv[1]) + L"\"", L"Orinda", L"RICHEDIT50W"};
    const Target notepad{L"notepad", L"notepad.exe", L"Notepad", L"Edit"};

    // One start of each first, not counted: it fills the file cache.
    TimeOneStart(orinda);
    TimeOneStart(notepad);
    std::vector<double> orindaTimes, notepadTimes;
    for (int run = 0; run < runs; ++run) {
        const double a = TimeOneStart(orinda);
        const double b = TimeOneStart(notepad);
        if (a < 0 || b < 0) {
            fwprintf(stderr, L"run %d: a window did not become ready\n", run + 1);
            return 1;
        }
        orindaTimes.push_back(a);
        notepadTimes.push_back(b);
        wprintf(L"run %2d: Orinda %7.1f ms   notepad %7.1f ms\n", run + 1, a, b);
    }
    const double orindaMedian = Median(orindaTimes);
    const double notepadMedian = Median(notepadTimes);
    wprintf(L"median of %d runs: Orinda %.1f ms, notepad %.1f ms, ratio %.2f\n", runs, orindaMedian, notepadMedian,
            orindaMedian / notepadMedian);
    return 0;
}
