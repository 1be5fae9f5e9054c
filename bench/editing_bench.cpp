// Block navigation and position reports on long documents: the time to fill
// the block list, to step with Ctrl+Down from the top to the end, and one
// status-bar refresh, with word wrap off and on, beside the rich-edit
// control's own floor (one whole-text read, one line query near the end)
// measured in the same run.
#include <windows.h>

#include "bench_clock.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/commands.h"
#include "core/editor_control.h"
#include "app/main_window.h"
#include "core/app_window.h"
#include "core/settings.h"
#include "speech/speech.h"

namespace {

// Paragraphs of nineteen lines of Japanese text followed by an empty line;
// each line is long enough to wrap in the narrow window used with wrap on.
std::wstring Document(long lines) {
    std::wstring text;
    for (long line = 0; line < lines; ++line) {
        if (line % 20 == 19)
            text += L"";
        else
            text += L"第" + std::to_wstring(line + 1) + L"行、あいうえおかきくけこさしすせそたちつてとなにぬねの";
        if (line + 1 < lines) text += L'\r';
    }
    return text;
}

// Closes the block list as soon as it is shown, so that the command's time
// is the time to fill it.
void CALLBACK CloseBlockList(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND dialog = FindWindowW(L"#32770", L"ブロック移動")) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

void Measure(HWND window, long lines, bool wrap) {
    const Editor editor = CurrentEditor();
    editor.SetText(L"");
    if ((CurrentSettings().wordWrap == 1) != wrap) SendMessageW(window, WM_COMMAND, kCmdWordWrap, 0);
    const double loadStart = NowMs();
    editor.SetText(Document(lines));
    const double loaded = NowMs() - loadStart;

    double start = NowMs();
    const std::wstring whole = editor.EditorText();
    const double wholeRead = NowMs() - start;
    const long lastLine = editor.LineCount() - 1;
    start = NowMs();
    editor.LineStart(lastLine);
    const double lineQuery = NowMs() - start;

    const UINT_PTR timer = SetTimer(nullptr, 0, 1, CloseBlockList);
    start = NowMs();
    SendMessageW(window, WM_COMMAND, kCmdBlockList, 0);
    const double blockList = NowMs() - start;
    KillTimer(nullptr, timer);

    editor.PlaceCaret(0);
    long steps = 0;
    start = NowMs();
    for (long before = -1; editor.GetSelection().start != before; ++steps) {
        before = editor.GetSelection().start;
        SendMessageW(window, WM_COMMAND, kCmdNextBlock, 0);
    }
    const double stepping = NowMs() - start;

    start = NowMs();
    RefreshStatusBar();
    const double status = NowMs() - start;

    std::printf("%7ld lines, wrap %-3s (%7ld display lines, %zu units): load %8.1f ms | floor: whole-text read %6.1f ms, "
                "one line query at the end %6.2f ms | block list %8.1f ms | Ctrl+Down top to end %9.1f ms "
                "(%ld steps, %.3f ms each) | status refresh %6.2f ms\n",
                lines, wrap ? "on" : "off", lastLine + 1, whole.size(), loaded, wholeRead, lineQuery, blockList,
                stepping, steps - 1, stepping / static_cast<double>(steps), status);
    std::fflush(stdout);
}

}  // namespace

// Arguments: the line counts to measure (default 10000 and 100000), and
// "nowrap" to leave out the word-wrap runs, whose loading is slow.
int wmain(int argc, wchar_t** argv) {
    std::vector<long> lineCounts;
    bool withWrap = true;
    for (int index = 1; index < argc; ++index) {
        if (std::wcscmp(argv[index], L"nowrap") == 0)
            withWrap = false;
        else
            lineCounts.push_back(std::wcstol(argv[index], nullptr, 10));
    }
    if (lineCounts.empty()) lineCounts = {10000, 100000};
    SetDllDirectoryW(L"");
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterMainWindowClass(instance)) return 1;
    const HWND window = CreateMainWindow(instance, L"");
    if (!window) return 1;
    SetSpeechEngine(kNoSpeech);
    MoveWindow(window, 0, 0, 300, 400, TRUE);
    for (long lines : lineCounts) {
        Measure(window, lines, false);
        if (withWrap) Measure(window, lines, true);
    }
    CurrentEditor().SetModified(false);
    DestroyWindow(window);
    return 0;
}
