#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/commands.h"
#include "app/main_window.h"
#include "core/editor_control.h"
#include "core/instance_requests.h"
#include "core/window_text.h"
#include "document/backup.h"
#include "document/document_state.h"
#include "lists/file_history.h"
#include "speech/speech.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

std::wstring StatusText(int part) {
    wchar_t text[64] = {};
    SendMessageW(StatusBar(), SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}

using MainWindow = MainWindowTest;

TEST_F(MainWindow, StartsEmptyWithTheEditorAboveAStatusBarThatHoldsStillUnderAMenu) {
    const double asked = fake::NowMs();
    SendCommand(kCmdReloadWithEncoding);
    EXPECT_GE(SpeechDelay(L"ファイルはロードされていません", asked), 100);

    MoveWindow(window_, 10, 10, 500, 400, TRUE);
    RECT client{}, editor{}, status{};
    GetClientRect(window_, &client);
    GetWindowRect(EditorWindow(), &editor);
    GetWindowRect(StatusBar(), &status);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&editor), 2);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&status), 2);
    EXPECT_EQ((std::vector<LONG>{editor.left, editor.top, editor.right, editor.bottom}),
              (std::vector<LONG>{0, 0, client.right, status.top}));

    SendMessageW(window_, WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), reinterpret_cast<LPARAM>(GetMenu(window_)));
    SetEditorText(L"abc");
    CurrentEditor().PlaceCaret(2);
    RefreshStatusBar();  // as the status bar's timer does
    EXPECT_EQ(StatusText(0), L"1行1文字");
    SendMessageW(window_, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    // Refreshed by a 100 ms timer: waited for, within reason.
    EXPECT_TRUE(PumpUntil([] { return StatusText(0) == L"1行3文字"; }, 2000));
    EXPECT_EQ(StatusText(1), L"UTF-8");
}

TEST_F(MainWindow, KeysAndCommandsThatDoNothingSayNothingAndTheRestAnswer) {
    SetEditorText(L"hello");
    PressKeys({VK_ESCAPE});
    for (WORD id : {WORD{499}, WORD{581}, WORD{582}, WORD{498}, WORD{617}, WORD{0xFFFF}})
        SendCommand(id);
    PressKeys({VK_CONTROL, VK_RETURN});
    PressKeys({VK_CONTROL, 'C'});
    PressKeys({VK_CONTROL, 'Z'});
    EXPECT_TRUE(NothingHeard());
    EXPECT_EQ(CurrentEditor().EditorText(), L"hello");

    PressKeys({VK_F4});
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitForSpeech(L"範囲選択をキャンセルしました", 1000));

    // A switch dialog, were it shown, would be cancelled and say nothing.
    AnswerWith(L"オリンダのウィンドウ切り替え", IDCANCEL);
    PressKeys({VK_F6});
    EXPECT_TRUE(WaitForSpeech(L"別のオリンダは起動されていません", 2000));
    SendMessageW(EditorWindow(), EM_SETREADONLY, TRUE, 0);
    PressKeys({VK_CONTROL, 'V'});
    EXPECT_TRUE(WaitForSpeech(L"貼り付け", 1000));

    // Page Up and Down move by 20 lines, and no further than the text.
    std::wstring text = L"line 1";
    for (int line = 2; line <= 30; ++line) text += L"\rline " + std::to_wstring(line);
    SetEditorText(text);
    const Editor editor = CurrentEditor();
    editor.PlaceCaret(editor.LineStart(4) + 2);
    // From anywhere but the first line the next 20 lines down would end elsewhere.
    PressKeys({VK_PRIOR});
    PressKeys({VK_NEXT});
    EXPECT_EQ(editor.GetSelection().start, editor.LineStart(20));
    editor.PlaceCaret(editor.LineStart(24) + 3);
    PressKeys({VK_NEXT});
    EXPECT_TRUE(WaitForSpeech(L"30行1文字", 1000));

    editor.PlaceCaret(0);
    PressKeys({VK_CONTROL, VK_END});
    EXPECT_TRUE(WaitForSpeech(L"30行8文字", 1000));
}

// The first command and the item count of the popup menu that is open, read
// from the menu window itself; the menu is then closed.
using OpenedMenu = std::pair<UINT, int>;
OpenedMenu g_opened;

void CALLBACK ReadAndCloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND menuWindow = FindWindowW(L"#32768", nullptr);
    if (!menuWindow || !IsWindowVisible(menuWindow)) return;
    KillTimer(nullptr, timer);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    g_opened = {GetMenuItemID(menu, 0), GetMenuItemCount(menu)};
    EndMenu();
}

OpenedMenu OpenWithApplicationsKey(HWND window) {
    g_opened = {0, -1};
    SetTimer(nullptr, 0, 50, ReadAndCloseMenu);
    SendCommand(window, kCmdContextMenu);
    return g_opened;
}

TEST_F(MainWindow, TheContextMenuFitsAnEmptyDocumentTextAndASelectionAndOnlyPcTalkerHearsIt) {
    SendMessageW(EditorWindow(), EM_SETREADONLY, TRUE, 0);
    EXPECT_EQ(OpenWithApplicationsKey(window_), OpenedMenu(514, 4));

    SetEditorText(L"some text");
    EXPECT_EQ(OpenWithApplicationsKey(window_), OpenedMenu(511, 7));

    CurrentEditor().Select(0, 4);
    EXPECT_EQ(OpenWithApplicationsKey(window_), OpenedMenu(512, 7));
    EXPECT_TRUE(NothingHeard()) << "only PC-Talker users hear the menu open";
    SetSpeechEngine(kPcTalker);
    OpenWithApplicationsKey(window_);
    EXPECT_EQ(SpokenTexts("PCTKPReadExW"), std::vector<std::wstring>{L"メニューオープン [5,1,0]"});
}

TEST_F(MainWindow, ABackupRequestWritesNothingUntouchedAndACloseRequestWaitsForTheOpenDialog) {
    SendMessageW(window_, InstanceMessage(), 0, 0);
    EXPECT_EQ(GetFileAttributesW(BackupPath().c_str()), INVALID_FILE_ATTRIBUTES);

    CurrentEditor().ReplaceSelection(L"unsaved");
    bool asked = false;
    bool keptUnderTheDialog = false;
    AnswerWith(L"保存確認", IDNO, &asked);
    AnswerDialog(L"行移動", [&](HWND box) {
        PostMessageW(window_, InstanceMessage(), 1, 0);
        Settle();
        keptUnderTheDialog = IsWindow(box) && IsWindow(window_) && !asked;
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    SendCommand(kCmdJumpToLine);
    EXPECT_TRUE(keptUnderTheDialog);
    EXPECT_TRUE(PumpUntil([this] { return !IsWindow(window_); }, 3000));
    EXPECT_TRUE(asked);
}

using CommandLine = FileWindowTest;

// The program started again, naming `path` on its command line.
HWND Restart(HWND window, const std::wstring& path) {
    SendMessageW(window, WM_CLOSE, 0, 0);
    return CreateMainWindow(GetModuleHandleW(nullptr), path);
}

TEST_F(CommandLine, AFileOpensAtItsRememberedCaretOrNamesANewFile) {
    WriteTestFile(File(L"a.txt"), "0123456789");
    SaveHistory({{File(L"a.txt"), L"a.txt", 6}});
    window_ = Restart(window_, File(L"a.txt"));
    EXPECT_EQ(CurrentEditor().GetSelection().start, 6);

    WriteSettingNumber(L"Option16", kNvda);
    window_ = Restart(window_, File(L"saved.txt"));
    EXPECT_TRUE(WaitForSpeech(L"新しいファイルです", 1000));
    ASSERT_EQ(WindowText(window_), L"saved.txt - オリンダ");  // else the save asks for a name, unanswered
    CurrentEditor().ReplaceSelection(L"new");
    SendCommand(kCmdSave);
    EXPECT_EQ(FileBytes(File(L"saved.txt")), "new");

    WriteTestFile(File(L"locked.txt"), "theirs");
    const HANDLE lock = CreateFileW(File(L"locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    window_ = Restart(window_, File(L"locked.txt"));
    CloseHandle(lock);
    EXPECT_TRUE(WaitForSpeech(L"ファイルを開けませんでした", 1000));
    EXPECT_TRUE(DocumentPath().empty());
    EXPECT_EQ(WindowText(window_), L"無題1 - オリンダ");
}

TEST(MainWindowWithoutEditor, RefusesToStartAndSaysWhy) {
    // Without the rich-edit class no editor can be made.
    const HMODULE library = LoadLibraryW(L"Msftedit.dll");
    WNDCLASSEXW editorClass{};
    editorClass.cbSize = sizeof editorClass;
    ASSERT_TRUE(GetClassInfoExW(library, MSFTEDIT_CLASS, &editorClass));
    ASSERT_TRUE(UnregisterClassW(MSFTEDIT_CLASS, editorClass.hInstance));
    std::wstring said;
    AnswerBoxKeepingText(L"オリンダ", &said);
    const HWND window = CreateMainWindow(GetModuleHandleW(nullptr), L"");
    editorClass.lpszClassName = MSFTEDIT_CLASS;
    EXPECT_TRUE(RegisterClassExW(&editorClass));
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(said, L"編集画面（Msftedit.dll のリッチエディット）を作成できないため、オリンダを起動できません。");
}

}  // namespace
