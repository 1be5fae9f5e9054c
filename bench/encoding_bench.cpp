// Document load and save costs: detection plus decoding, and encoding plus
// writing, of Japanese text in three encodings at 1, 10 and 100 MiB, each
// next to its floor measured in the same run (a plain read plus one
// MultiByteToWideChar, or one WideCharToMultiByte plus a plain write); the
// whole load into the editor next to WM_SETTEXT into a bare control; and,
// in child processes, the largest file the editor takes.
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/editor_control.h"
#include "app/main_window.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "document/file_commands.h"
#include "document/safe_write.h"

namespace {

constexpr size_t kMiB = 1048576;

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double TimeMs(Work work) {
    const double start = NowMs();
    work();
    return NowMs() - start;
}

// Median of `runs` timings.
template <typename Work>
double MedianMs(int runs, Work work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(TimeMs(work));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double PeakMiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakPagefileUsage) / kMiB;
}

// Short Japanese lines, as a novel or notes hold them, cut to `bytes` in
// the given encoding (never inside a character).
std::string JapaneseFile(size_t bytes, int codePage) {
    const std::wstring line = L"吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。ABC123\r\n";
    const std::string unit = EncodeText(line, codePage);
    const size_t mark = codePage == kUtf16Le ? 2 : 0;
    const std::string body = unit.substr(mark);
    std::string file = unit.substr(0, mark);
    file.reserve(bytes);
    while (file.size() + body.size() <= bytes) file += body;
    // Fill the rest with ASCII so that every file has exactly its size.
    while (file.size() < bytes) file += codePage == kUtf16Le && file.size() + 2 <= bytes ? std::string("a\0", 2) : "a";
    return file;
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

void PlainWrite(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    for (size_t at = 0; at < bytes.size(); at += written)
        if (!WriteFile(file, bytes.data() + at, static_cast<DWORD>(std::min(bytes.size() - at, kMiB)), &written, nullptr))
            break;
    CloseHandle(file);
}

std::wstring FloorDecode(const std::string& bytes, int codePage) {
    if (codePage == kUtf16Le) {
        std::wstring text((bytes.size() - 2) / 2, L'\0');
        std::memcpy(text.data(), bytes.data() + 2, text.size() * 2);
        return text;
    }
    const UINT platformCodePage = codePage == kShiftJis ? 932 : CP_UTF8;
    const int count = static_cast<int>(bytes.size());
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(
        MultiByteToWideChar(platformCodePage, 0, bytes.data(), count, text.data(), count)));
    return text;
}

std::string FloorEncode(const std::wstring& text, int codePage) {
    if (codePage == kUtf16Le) return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    const UINT platformCodePage = codePage == kShiftJis ? 932 : CP_UTF8;
    const int units = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(platformCodePage, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(platformCodePage, 0, text.data(), units, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

const wchar_t* Name(int codePage) {
    return EncodingDisplayName(codePage);
}

void CodecRow(size_t bytes, int codePage, const wchar_t* label) {
    const std::wstring path = TempFile(L"orinda_bench.txt");
    const std::wstring savePath = TempFile(L"orinda_bench_save.txt");
    PlainWrite(path, JapaneseFile(bytes, codePage));
    const int runs = bytes > 20 * kMiB ? 3 : 5;
    std::wstring text;
    int detected = 0;
    const double load = MedianMs(runs, [&] {
        std::string read;
        ReadFileBytes(path, kMaxDocumentUnits, read);
        const auto* data = reinterpret_cast<const unsigned char*>(read.data());
        detected = DetectEncoding(data, read.size());
        text = DecodeBytes(data, read.size(), detected);
    });
    const double loadFloor = MedianMs(runs, [&] {
        std::string read;
        ReadFileBytes(path, kMaxDocumentUnits, read);
        FloorDecode(read, codePage);
    });
    const double save = MedianMs(runs, [&] { WriteFileSafely(savePath, EncodeText(text, codePage)); });
    const double saveFloor = MedianMs(runs, [&] { PlainWrite(savePath, FloorEncode(text, codePage)); });
    wprintf(L"%-12ls %-10ls %9.1f %9.1f %6.2f %9.1f %9.1f %6.2f %8.0f%ls\n", label, Name(codePage), load, loadFloor,
            load / loadFloor, save, saveFloor, save / saveFloor, PeakMiB(), detected == codePage ? L"" : L" (detected other)");
    fflush(stdout);
    DeleteFileW(path.c_str());
    DeleteFileW(savePath.c_str());
}

HWND BareControl() {
    return CreateWindowExW(0, L"RICHEDIT50W", L"", WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
                           0, 0, 600, 400, MainWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
}

void EditorRow(size_t bytes, int codePage) {
    const std::wstring path = TempFile(L"orinda_bench_load.txt");
    PlainWrite(path, JapaneseFile(bytes, codePage));
    const double load = TimeMs([&] { LoadDocument(path); });
    CurrentEditor().SetText(L"");
    std::string read;
    ReadFileBytes(path, kMaxDocumentUnits, read);
    const std::wstring text = DecodeBytes(reinterpret_cast<const unsigned char*>(read.data()), read.size(), codePage);
    const HWND control = BareControl();
    SendMessageW(control, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(kMaxDocumentUnits));
    SendMessageW(control, EM_SETTARGETDEVICE, 0, 1);
    const double bare = TimeMs([&] { SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); });
    DestroyWindow(control);
    wprintf(L"%4zu MiB     %-10ls %9.1f %9.1f %6.2f %8.0f\n", bytes / kMiB, Name(codePage), load, bare, load / bare,
            PeakMiB());
    fflush(stdout);
    DeleteFileW(path.c_str());
}

HWND MakeMainWindow() {
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    const HWND window = CreateMainWindow(GetModuleHandleW(nullptr), L"");
    ShowWindow(window, SW_HIDE);
    return window;
}

// Child mode: load one UTF-8 file of `mib` MiB into the editor and say how it went.
int ProbeLoad(size_t mib) {
    MakeMainWindow();
    const std::wstring path = TempFile(L"orinda_bench_probe.txt");
    PlainWrite(path, JapaneseFile(mib * kMiB, kUtf8));
    ReadResult result = ReadResult::kUnreadable;
    const double ms = TimeMs([&] { result = LoadDocument(path); });
    DeleteFileW(path.c_str());
    const long length = GetWindowTextLengthW(EditorWindow());
    wprintf(L"%4zu MiB  %-8ls %10.0f ms %10ld characters  peak %6.0f MiB\n", mib,
            result == ReadResult::kDone ? L"loaded" : result == ReadResult::kTooLarge ? L"refused" : L"failed", ms,
            length, PeakMiB());
    return 0;
}

void ProbeLargestLoad(const wchar_t* self, const std::vector<size_t>& sizes) {
    wprintf(L"\nLargest load (each in its own process; a crash ends only that process)\n");
    fflush(stdout);
    for (const size_t mib : sizes) {
        std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --probe " + std::to_wstring(mib);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                            &process))
            continue;
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        if (code != 0) wprintf(L"%4zu MiB  crashed (exit code 0x%08lx)\n", mib, code);
        fflush(stdout);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"--probe") == 0) return ProbeLoad(std::wcstoul(argv[2], nullptr, 10));
    const bool quick = argc >= 2 && std::wcscmp(argv[1], L"--quick") == 0;
    const int codePages[] = {kUtf8, kShiftJis, kUtf16Le};
    wprintf(L"Detection plus decoding, encoding plus writing (median ms; floor measured in the same run)\n");
    wprintf(L"%-12ls %-10ls %9ls %9ls %6ls %9ls %9ls %6ls %8ls\n", L"size", L"encoding", L"load", L"floor", L"ratio",
            L"save", L"floor", L"ratio", L"peak MiB");
    std::vector<size_t> sizes = {1, 10};
    if (!quick) sizes.push_back(100);
    for (const size_t mib : sizes)
        for (const int codePage : codePages)
            CodecRow(mib * kMiB, codePage, (std::to_wstring(mib) + L" MiB").c_str());
    if (!quick) CodecRow(104857600, kUtf8, L"104857600 B");

    MakeMainWindow();
    wprintf(L"\nWhole load into the editor against WM_SETTEXT into a bare control (ms)\n");
    wprintf(L"%-12ls %-10ls %9ls %9ls %6ls %8ls\n", L"size", L"encoding", L"load", L"bare", L"ratio", L"peak MiB");
    for (const size_t mib : {size_t{1}, size_t{10}})
        for (const int codePage : codePages) EditorRow(mib * kMiB, codePage);
    if (!quick) ProbeLargestLoad(argv[0], {20, 40, 60, 100});
    return 0;
}
