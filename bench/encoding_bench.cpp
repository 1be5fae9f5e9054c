// Document load and save costs: detection plus decoding, and encoding plus
// writing, of Japanese text in three encodings at 1, 10 and 100 MiB, each
// next to its floor measured in the same run (a plain read plus one
// MultiByteToWideChar, or one WideCharToMultiByte plus a plain write); the
// whole load into the editor next to WM_SETTEXT into a bare control; and,
// in child processes, the largest file the editor takes. First, how often
// detection names the right encoding of Japanese text, UTF-16 without a
// byte-order mark included: on built-in lines, or on the lines of a UTF-8
// file given with --corpus (--detection-only stops there).
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "bench_support.h"
#include "core/app_window.h"
#include "core/editor_control.h"
#include "core/file_io.h"
#include "core/safe_write.h"
#include "document/document_io.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "document/file_commands.h"
#include "document/save_question.h"

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
    const std::string unit = EncodeText(line, codePage).value();
    const size_t mark = codePage == kUtf16Le ? 2 : 0;
    const std::string body = unit.substr(mark);
    std::string file = unit.substr(0, mark);
    file.reserve(bytes);
    while (file.size() + body.size() <= bytes) file += body;
    // Fill the rest with ASCII so that every file has exactly its size.
    while (file.size() < bytes) file += codePage == kUtf16Le && file.size() + 2 <= bytes ? std::string("a\0", 2) : "a";
    return file;
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
    const std::wstring path = TempPath(L"orinda_bench.txt");
    const std::wstring savePath = TempPath(L"orinda_bench_save.txt");
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
    const double save = MedianMs(runs, [&] { WriteFileSafely(savePath, EncodeText(text, codePage).value()); });
    const double saveFloor = MedianMs(runs, [&] { PlainWrite(savePath, FloorEncode(text, codePage)); });
    wprintf(L"%-12ls %-10ls %9.1f %9.1f %6.2f %9.1f %9.1f %6.2f %8.0f%ls\n", label, Name(codePage), load, loadFloor,
            load / loadFloor, save, saveFloor, save / saveFloor, PeakMiB(), detected == codePage ? L"" : L" (detected other)");
    fflush(stdout);
    DeleteFileW(path.c_str());
    DeleteFileW(savePath.c_str());
}

// A fresh control made like the editor: same styles, size, font and wrapping.
HWND BareControl() {
    const HWND editor = EditorWindow();
    RECT size{};
    GetClientRect(editor, &size);
    const HWND control = CreateWindowExW(0, MSFTEDIT_CLASS, L"", static_cast<DWORD>(GetWindowLongPtrW(editor, GWL_STYLE)),
                                         0, 0, size.right, size.bottom, MainWindow(), nullptr, GetModuleHandleW(nullptr),
                                         nullptr);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(editor, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageW(control, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SendMessageW(control, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(kMaxDocumentUnits));
    SendMessageW(control, EM_SETTARGETDEVICE, 0, 1);
    return control;
}

HWND MakeHiddenMainWindow() {
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    const HWND window = CreateMainWindow(GetModuleHandleW(nullptr), L"");
    ShowWindow(window, SW_HIDE);
    return window;
}

// Child mode: one load of one file in a fresh process, so that no load
// pays for the heap an earlier one left behind. The exit code carries the
// milliseconds; a crash shows as an exception code.
int TimeOneLoad(const std::wstring& how, size_t mib, int codePage) {
    MakeHiddenMainWindow();
    const std::wstring path = TempPath(L"orinda_bench_" + how + L".txt");
    PlainWrite(path, JapaneseFile(mib * kMiB, codePage));
    double ms = 0;
    if (how == L"bare") {
        std::string read;
        ReadFileBytes(path, kMaxDocumentUnits, read);
        const std::wstring text =
            DecodeBytes(reinterpret_cast<const unsigned char*>(read.data()), read.size(), codePage);
        const HWND control = BareControl();
        ms = TimeMs([&] { SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); });
    } else {
        ReadResult result = ReadResult::kUnreadable;
        ms = TimeMs([&] { result = LoadDocument(path); });
        if (how == L"probe")
            wprintf(L"%4zu MiB  %-8ls %10.0f ms %10d characters  peak %6.0f MiB\n", mib,
                    result == ReadResult::kDone       ? L"loaded"
                    : result == ReadResult::kTooLarge ? L"refused"
                                                      : L"failed",
                    ms, GetWindowTextLengthW(EditorWindow()), PeakMiB());
    }
    DeleteFileW(path.c_str());
    return static_cast<int>(ms + 0.5);
}

// Runs this program in child mode; returns the child's exit code.
DWORD RunChild(const wchar_t* self, const std::wstring& how, size_t mib, int codePage) {
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --child " + how + L" " + std::to_wstring(mib) + L" " +
                               std::to_wstring(codePage);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return 0xFFFFFFFF;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

void EditorRow(const wchar_t* self, size_t mib, int codePage) {
    const DWORD load = RunChild(self, L"editor", mib, codePage);
    const DWORD bare = RunChild(self, L"bare", mib, codePage);
    wprintf(L"%4zu MiB     %-10ls %9lu %9lu %6.2f\n", mib, Name(codePage), load, bare,
            static_cast<double>(load) / static_cast<double>(bare));
    fflush(stdout);
}

void ProbeLargestLoad(const wchar_t* self, const std::vector<size_t>& sizes) {
    wprintf(L"\nLargest load, UTF-8 (each in its own process; a crash ends only that process)\n");
    fflush(stdout);
    for (const size_t mib : sizes) {
        const DWORD code = RunChild(self, L"probe", mib, kUtf8);
        if (code >= 0xC0000000) wprintf(L"%4zu MiB  crashed (exception 0x%08lx)\n", mib, code);
        fflush(stdout);
    }
}

// Japanese as manuals and messages have it: kanji, kana, Latin letters,
// digits, punctuation, the ideographic space.
const wchar_t* const kSampleLines[] = {
    L"吾輩は猫である。名前はまだ無い。",
    L"ファイル %s を開けませんでした。",
    L"第一章　概要",
    L"このコマンドは、指定されたファイルの内容を標準出力に書き出します。",
    L"オプション -r を指定すると、ディレクトリを再帰的に処理します。",
    L"エラー: 設定ファイル (/etc/passwd) が見つかりません",
    L"2024年4月1日（月曜日）午前10時30分",
    L"ユーザー名とパスワードを入力してください：",
    L"「保存しますか？」と聞かれたら「はい」を押します。",
    L"一　二　三",
    L"パッケージの一覧を読み込んでいます... 完了",
    L"詳しくは man 1 dpkg を参照してください。",
};

std::vector<std::wstring> CorpusLines(const wchar_t* corpusFile) {
    std::vector<std::wstring> lines;
    if (!corpusFile) return std::vector<std::wstring>(std::begin(kSampleLines), std::end(kSampleLines));
    std::string bytes;
    if (!ReadFileBytes(corpusFile, 64 * kMiB, bytes)) return lines;
    const std::wstring text = DecodeBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), kUtf8);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Percent of the samples whose bytes in `codePage` are detected as that
// encoding; without the byte-order mark for UTF-16.
double DetectedPercent(const std::vector<std::wstring>& samples, int codePage) {
    size_t right = 0;
    for (const std::wstring& sample : samples) {
        std::string bytes = EncodeText(sample, codePage).value_or(std::string());
        if (codePage == kUtf16Le || codePage == kUtf16Be) bytes.erase(0, 2);
        right += DetectEncoding(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) == codePage;
    }
    return samples.empty() ? 0 : 100.0 * static_cast<double>(right) / static_cast<double>(samples.size());
}

void DetectionRates(const wchar_t* corpusFile) {
    const std::vector<std::wstring> lines = CorpusLines(corpusFile);
    std::vector<std::wstring> brokenLines;
    std::vector<std::wstring> pages(1);
    for (const std::wstring& line : lines) {
        brokenLines.push_back(line + L"\r\n");
        if (pages.back().size() > 2000) pages.emplace_back();
        pages.back() += line + L"\r\n";
    }
    wprintf(L"Detection on %zu lines (%ls): percent detected right\n", lines.size(),
            corpusFile ? corpusFile : L"built-in samples");
    wprintf(L"%-24ls %10ls %10ls %12ls %12ls\n", L"samples", L"Shift_JIS", L"UTF-8", L"UTF-16 LE*", L"UTF-16 BE*");
    const std::pair<const wchar_t*, const std::vector<std::wstring>*> kinds[] = {
        {L"lines, no line break", &lines}, {L"lines with CR LF", &brokenLines}, {L"pages (~2,000 chars)", &pages}};
    for (const auto& [name, samples] : kinds)
        wprintf(L"%-24ls %10.1f %10.1f %12.1f %12.1f\n", name, DetectedPercent(*samples, kShiftJis),
                DetectedPercent(*samples, kUtf8), DetectedPercent(*samples, kUtf16Le),
                DetectedPercent(*samples, kUtf16Be));
    wprintf(L"* without a byte-order mark\n\n");
    fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 5 && std::wcscmp(argv[1], L"--child") == 0)
        return TimeOneLoad(argv[2], std::wcstoul(argv[3], nullptr, 10), static_cast<int>(std::wcstol(argv[4], nullptr, 10)));
    bool quick = false;
    bool detectionOnly = false;
    const wchar_t* corpusFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--quick") == 0) quick = true;
        if (std::wcscmp(argv[i], L"--detection-only") == 0) detectionOnly = true;
        if (std::wcscmp(argv[i], L"--corpus") == 0 && i + 1 < argc) corpusFile = argv[++i];
    }
    DetectionRates(corpusFile);
    if (detectionOnly) return 0;
    const int codePages[] = {kUtf8, kShiftJis, kUtf16Le};
    wprintf(L"Detection plus decoding, encoding plus writing (median ms; floor measured in the same run)\n");
    wprintf(L"%-12ls %-10ls %9ls %9ls %6ls %9ls %9ls %6ls %8ls\n", L"size", L"encoding", L"load", L"floor", L"ratio",
            L"save", L"floor", L"ratio", L"peak MiB");
    std::vector<size_t> sizes = {1, 10};
    if (!quick) sizes.push_back(100);
    for (const size_t mib : sizes)
        for (const int codePage : codePages)
            CodecRow(mib * kMiB, codePage, (std::to_wstring(mib) + L" MiB").c_str());
    if (!quick) CodecRow(104857600 + 1, kUtf8, L"100 MiB + 1");

    wprintf(L"\nWhole load into the editor against WM_SETTEXT into a bare control (ms, each in a fresh process)\n");
    wprintf(L"%-12ls %-10ls %9ls %9ls %6ls\n", L"size", L"encoding", L"load", L"bare", L"ratio");
    fflush(stdout);
    for (const size_t mib : quick ? std::vector<size_t>{1} : std::vector<size_t>{1, 10})
        for (const int codePage : codePages) EditorRow(argv[0], mib, codePage);
    if (!quick) ProbeLargestLoad(argv[0], {20, 40});
    return 0;
}
