#include "app/main_window.h"

#include <commctrl.h>
#include <algorithm>
#include <shlwapi.h>
#include <wtsapi32.h>

#include "app/commands.h"
#include "app/editor_keys.h"
#include "app/legacy_migration.h"
#include "app/shell_commands.h"
#include "app/startup_steps.h"
#include "audio/keypad_player.h"
#include "core/app_window.h"
#include "core/caret_position.h"
#include "core/data_folder.h"
#include "core/editor_control.h"
#include "core/input_method.h"
#include "core/instance_requests.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/system_library.h"
#include "core/whole_text.h"
#include "core/window_titles.h"
#include "document/backup.h"
#include "document/document_io.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "document/file_commands.h"
#include "document/recovery.h"
#include "document/save_question.h"
#include "lists/file_history.h"
#include "options/update_check.h"
#include "recording/recording_settings.h"
#include "search/search_commands.h"
#include "speech/continuous_reading.h"
#include "speech/nvda_client.h"
#include "speech/pctalker_client.h"
#include "speech/sapi_voice.h"
#include "speech/screen_readers.h"
#include "speech/speech.h"
#include "timer/sleep_timer.h"

namespace {

constexpr UINT_PTR kStatusBarTimerId = 2;
constexpr UINT kStatusBarPeriodMs = 100;
constexpr int kStatusBarId = 100;
constexpr int kStatusBarFirstPartWidth = 150;
constexpr unsigned kWorkerExitWaitMs = 1000;
// Posted at start when a screen reader's library is missing (wParam: this is
// the first start): the box comes once the window is up and the command-line
// file has loaded.
constexpr UINT kExplainMissingLibrary = WM_APP + 30;

HWND g_statusBar = nullptr;
bool g_menuOpen = false;
std::wstring g_statusTexts[2];

void CreateStatusBar(HWND window) {
    g_statusBar = CreateStatusWindowW(WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, L"ステータスバー", window,
                                      kStatusBarId);
    int parts[] = {kStatusBarFirstPartWidth, -1};
    if (g_statusBar) SendMessageW(g_statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    g_statusTexts[0].clear();
    g_statusTexts[1].clear();
}

// A file that does not exist yet keeps its path, so that the first save
// creates it; any other failure (locked, too large) leaves an untitled
// document, so that no save can write over a file that was never shown.
void OpenCommandLineFile(const std::wstring& path) {
    if (path.empty()) {
        SetDocumentPath(L"");
        ShowUntitledTitle();
        return;
    }
    const ReadResult result = LoadDocument(path);
    if (result == ReadResult::kDone) {
        RestoreRememberedCaret(path);
    } else if (result == ReadResult::kUnreadable && FitsPathBuffer(path) && !FileExists(path) &&
               FolderExists(FolderOf(path))) {
        SetDocumentPath(path);
        ShowDocumentTitle();
        // Heard otherwise as an empty file that is there already.
        Speak(L"新しいファイルです", kAnswerDelayMs);
    } else {
        SetDocumentPath(L"");
        ShowUntitledTitle();
        SpeakReadFailure(result);
    }
}

// NVDA speaks on the lock screen too: a document is never read aloud over a
// locked or disconnected session.
void WatchSession(HWND window, bool watch) {
    static const auto start = SystemFunction<decltype(&WTSRegisterSessionNotification)>(
        L"wtsapi32.dll", "WTSRegisterSessionNotification");
    static const auto end = SystemFunction<decltype(&WTSUnRegisterSessionNotification)>(
        L"wtsapi32.dll", "WTSUnRegisterSessionNotification");
    if (watch && start) start(window, NOTIFY_FOR_THIS_SESSION);
    if (!watch && end) end(window);
}

void OnSessionChange(WPARAM change) {
    if (change == WTS_SESSION_LOCK || change == WTS_CONSOLE_DISCONNECT || change == WTS_REMOTE_DISCONNECT)
        StopReading();
}

LRESULT OnCreate(HWND window) {
    MarkStartupStep("window and menu bar");
    SetMainWindow(window);
    g_menuOpen = false;
    // Kept for the life of the process: the control's class lives in it.
    LoadSystemLibrary(L"Msftedit.dll");
    MarkStartupStep("control library");
    LoadContextMenus();
    MarkStartupStep("context menus");
    const HWND editor = CreateEditorControl(window, EditorKeyHandler);
    MarkStartupStep("editor control");
    if (!editor) {
        // Without the editor a load would seem to succeed and a save would
        // write an empty file over the user's.
        MessageBoxW(nullptr, L"編集画面（Msftedit.dll のリッチエディット）を作成できないため、オリンダを起動できません。",
                    L"オリンダ", MB_OK | MB_ICONERROR);
        SetMainWindow(nullptr);
        return -1;
    }
    CreateStatusBar(window);
    SetTimer(window, kStatusBarTimerId, kStatusBarPeriodMs, nullptr);
    MarkStartupStep("status bar");
    WatchSession(window, true);
    PrepareDataFolder();
    MarkStartupStep("data folder");
    MigrateLegacyListsIfNeeded();
    MarkStartupStep("migration");
    InitSafetyCopyPaths(DataFolder());
    const bool firstStart = WriteFirstRunDefaults(RunningScreenReader);
    LoadSettings(kStartupValues);
    MarkStartupStep("settings");
    SetEncoderPath(ProgramFolder().empty() ? std::wstring() : ProgramFolder() + L"\\lame.exe");
    ChooseRecordingVoiceWhenNeeded();
    MarkStartupStep("recording voice");
    // Otherwise PC-Talker's library is loaded when it is chosen as the engine.
    if (SpeechEngine() == kPcTalker) LoadPcTalker(SpeechLibraryFolder());
    MarkStartupStep("PC-Talker library");
    LoadNvdaClient(SpeechLibraryFolder());
    MarkStartupStep("NVDA library");
    if (LibraryMissing(firstStart)) PostMessageW(window, kExplainMissingLibrary, firstStart, 0);
    LoadSettings(kLateStartupValues);
    ResetSearchFlags();
    MarkStartupStep("late settings");
    CurrentEditor().SetWordWrap(CurrentSettings().wordWrap == 1);
    MarkStartupStep("word wrap");
    if (CurrentSettings().inputMethodInEditor == 1) SetInputMethodOpen(editor, true);
    MarkStartupStep("input method");
    SetFocus(editor);
    MarkStartupStep("focus and hot keys");
    if (CurrentSettings().checkUpdatesAtStart == 1) RunStartupUpdateCheck(window);
    MarkStartupStep("update check");
    // Setting the control up marks it modified; the fresh document is untouched.
    CurrentEditor().SetModified(false);
    return 0;
}

void OnSize(HWND window, WPARAM wParam, LPARAM lParam) {
    int statusHeight = 0;
    if (g_statusBar) {
        SendMessageW(g_statusBar, WM_SIZE, wParam, lParam);
        RECT statusRect{};
        if (GetWindowRect(g_statusBar, &statusRect)) statusHeight = statusRect.bottom - statusRect.top;
    }
    RECT client{};
    GetClientRect(window, &client);
    if (const HWND editor = EditorWindow())
        MoveWindow(editor, 0, 0, client.right, std::max(0, static_cast<int>(client.bottom) - statusHeight), TRUE);
}

void SetStatusPart(int part, const std::wstring& text) {
    // Only changes are written, so that the bar does not flicker ten times a second.
    if (g_statusTexts[part] == text) return;
    g_statusTexts[part] = text;
    SendMessageW(g_statusBar, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT OnClose(HWND window) {
    // A reading in progress ends first: closing without the save question
    // would lose unsaved text.
    if (IsReading()) StopReading();
    const Editor editor = CurrentEditor();
    if (editor.IsModified()) {
        if (!ConfirmDiscard(window)) return 0;
        if (!DocumentPath().empty()) AddToHistory(DocumentPath());
    }
    if (!DocumentPath().empty()) RecordCaretInHistory(DocumentPath());
    RemoveRecoveryCopy();
    ClosePlayer();
    return DefWindowProcW(window, WM_CLOSE, 0, 0);
}

void OnDestroy() {
    // A window whose making was refused loaded no settings to write back.
    if (!MainWindow()) return;
    KillTimer(MainWindow(), kStatusBarTimerId);
    WatchSession(MainWindow(), false);
    if (IsKeypadPlayerEnabled()) UnregisterKeypadHotKeys();
    SaveSettings(kSavedAtClose);
    ReleaseTestVoice();
    ForgetReplacedText();
    // The reading worker may still be inside a speech library: let it leave.
    StopReading();
    if (WaitForReadingWorker(kWorkerExitWaitMs)) UnloadPcTalker();
    SetMainWindow(nullptr);
    g_statusBar = nullptr;
    PostQuitMessage(0);
}

LRESULT OnInstanceMessage(WPARAM request) {
    if (request == kSaveBackup) return BackupAnswer(SaveBackupIfModified());
    if (request == kCloseInstance) RequestClose();
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == InstanceMessage() && message != 0) return OnInstanceMessage(wParam);
    if (HandleInstanceRequestMessage(window, message, wParam)) return 0;
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_SIZE:
        OnSize(window, wParam, lParam);
        return 0;
    case WM_SETFOCUS:
        if (EditorWindow()) SetFocus(EditorWindow());
        return 0;
    case WM_MENUSELECT:
        g_menuOpen = lParam != 0;
        return 0;
    case WM_TIMER:
        if (wParam == kStatusBarTimerId) RefreshStatusBar();
        else if (wParam == kSleepTimerId) SleepTimerTick(window);
        else if (wParam == kRecoveryPauseTimerId || wParam == kRecoveryLongestTimerId) OnRecoveryTimer(window);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE && reinterpret_cast<HWND>(lParam) == EditorWindow()) NoteTextChanged(window);
        else DispatchCommand(LOWORD(wParam), window, lParam);
        return 0;
    case kExplainMissingLibrary:
        ExplainMissingLibrary(window, wParam != 0);
        return 0;
    case WM_HOTKEY:
        HandleKeypadHotKey(static_cast<int>(wParam));
        return 0;
    case MM_MCINOTIFY:
        HandlePlaybackNotify(wParam, lParam);
        return 0;
    case WM_WTSSESSION_CHANGE:
        OnSessionChange(wParam);
        return 0;
    case WM_CLOSE:
        return OnClose(window);
    case WM_ENDSESSION:
        // Logging off or shutting down asks nothing: unsaved text goes to
        // the backup file instead of being lost.
        if (wParam) SaveBackupIfModified();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"ORI");
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = L"ORM";
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, const std::wstring& commandLineFile) {
    const HWND window = CreateWindowExW(0, kMainWindowClass, L"オリンダ", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                        instance, nullptr);
    if (!window) return nullptr;
    MarkStartupStep("showing the window");
    // Only once the window exists: under Wine a rich-edit control made while
    // its parent is still being created takes twice as long for every later
    // load. The untitled number counts the instances started meanwhile.
    OpenCommandLineFile(commandLineFile);
    MarkStartupStep("command-line file and title");
    return window;
}

HWND StatusBar() {
    return g_statusBar;
}

void RefreshStatusBar() {
    if (g_menuOpen || !g_statusBar || !EditorWindow()) return;
    SetStatusPart(0, FormatCaretPosition(CurrentEditor()));
    SetStatusPart(1, EncodingDisplayName(DocumentEncoding()));
}
