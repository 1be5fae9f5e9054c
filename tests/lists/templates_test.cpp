#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "core/clipboard.h"
#include "core/app_window.h"
#include "core/editor_control.h"
#include "core/paths.h"
#include "core/safe_write.h"
#include "core/window_text.h"
#include "document/document_state.h"
#include "lists/templates.h"
#include "speech/speech.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const std::string kMark = "\xEF\xBB\xBF";

std::vector<std::wstring> TemplateFiles() {
    std::vector<std::wstring> files;
    for (const auto& entry : std::filesystem::directory_iterator(TemplateFolder())) files.push_back(entry.path());
    return files;
}

const SYSTEMTIME kTime = SystemTime(2024, 3, 5, 9, 8, 7);

using TemplatesTest = MainWindowTest;

// Open the list, then the edit dialog of its first template, and run `edit` on it.
void EditFirstTemplate(std::function<void(HWND)> edit) {
    AnswerDialog(L"定型文一覧", [edit](HWND dialog) {
        AnswerDialog(L"定型文の編集", edit);
        SendMessageW(dialog, WM_COMMAND, 102, 0);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SendCommand(MainWindow(), kCmdTemplateList);
}

TEST_F(TemplatesTest, TheListCopiesDeletesAndInsertsAddingAndEditingKeepTheTextAndLegacyOnesAreConverted) {
    EXPECT_EQ(ParseTemplate("\x82\xA0", L"sjis").body, L"あ");
    EXPECT_EQ(ParseTemplate(kMark + "[Header]\r\nTitle=" + std::string(300, 'a') + "\r\n----------\r\nb", L"n").title,
              std::wstring(260, L'a'));

    // One second gives suffixes, and only the newest five hundred are listed.
    EXPECT_EQ(TemplateName(kTime, 1), L"20240305090807");
    EXPECT_EQ(TemplateName(kTime, 2), L"20240305090807_02");
    std::vector<std::wstring> many;
    for (int i = 0; i < 501; ++i) many.push_back(std::to_wstring(1000 + i));
    EXPECT_EQ(NewestTemplateNames(many, 500).back(), L"1001");

    ASSERT_TRUE(StoreTemplate({L"first", L"one"}, kTime));
    ASSERT_TRUE(StoreTemplate({L"second", L"two"}, kTime));
    // Copied there by the user: no header, and a name before the time stamps.
    ASSERT_TRUE(WriteFileSafely(TemplateFolder() + L"\\00memo.txt", kMark + "plain\r\n----------\r\ntext"));
    std::vector<std::wstring> lines, linesAfterYes, copies, questions;
    AnswerDialog(L"定型文一覧", [&](HWND dialog) {
        const HWND list = GetDlgItem(dialog, 101);
        lines = ListBoxItems(list);
        SendMessageW(dialog, WM_COMMAND, 103, 0);
        copies.push_back(ClipboardText(nullptr).value_or(L""));
        // Heard before the next answer, which would otherwise replace it.
        PumpUntil([] { return !IsSpeechWaiting(); }, 2000);
        SendMessageW(list, LB_SETCURSEL, 2, 0);
        SendMessageW(dialog, WM_COMMAND, 103, 0);
        copies.push_back(ClipboardText(nullptr).value_or(L""));
        for (const int answer : {IDNO, IDYES}) {
            AnswerDialog(L"削除確認", [&questions, answer](HWND box) {
                questions.push_back(WindowText(GetDlgItem(box, 0xFFFF)));
                PostMessageW(box, WM_COMMAND, answer, 0);
            });
            SendMessageW(list, LB_SETCURSEL, 0, 0);
            SendMessageW(dialog, WM_VKEYTOITEM, MAKEWPARAM(VK_DELETE, 0), reinterpret_cast<LPARAM>(list));
            if (answer == IDYES) linesAfterYes = ListBoxItems(list);
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SendCommand(kCmdTemplateList);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"second", L"first", L"00memo"}));
    EXPECT_EQ(copies, (std::vector<std::wstring>{L"two", L"plain\r\n----------\r\ntext"}));
    EXPECT_EQ(questions, std::vector<std::wstring>(2, L"定型文の「second」を削除してもよろしいですか"));
    EXPECT_EQ(linesAfterYes, (std::vector<std::wstring>{L"first", L"00memo"}));
    EXPECT_TRUE(WaitForSpeech(L"削除しました", 2000));
    EXPECT_EQ(SpokenTexts(), (std::vector<std::wstring>{L"コピーしました", L"コピーしました", L"削除しました"}));

    ClearDataFolder();
    bool anyEnabled = true;
    AnswerDialog(L"定型文一覧", [&anyEnabled](HWND dialog) {
        anyEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK)) || IsWindowEnabled(GetDlgItem(dialog, 102)) ||
                     IsWindowEnabled(GetDlgItem(dialog, 103));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SendCommand(kCmdTemplateList);
    EXPECT_FALSE(anyEnabled);

    // Inserted after the selection as one undo, and nothing while locked.
    ASSERT_TRUE(StoreTemplate({L"T", L"X\r\nY"}, kTime));
    SetEditorText(L"abc");
    CurrentEditor().Select(1, 2);
    AnswerWith(L"定型文一覧", IDOK);
    SendCommand(kCmdTemplateList);
    EXPECT_TRUE(WaitForSpeech(L"定型文を挿入しました", 2000));
    EXPECT_EQ(CurrentEditor().Text(), L"abX\r\nYc");
    SendCommand(kCmdUndo);
    EXPECT_EQ(CurrentEditor().Text(), L"abc");

    SetEditable(false);
    ClearSpeechLog();
    AnswerWith(L"定型文一覧", IDOK);
    SendCommand(kCmdTemplateList);
    EXPECT_TRUE(WaitForSpeech(L"編集禁止", 2000));
    EXPECT_EQ(CurrentEditor().Text(), L"abc");

    // A body that does not fit in memory is never half read.
    SetEditable(true);
    ASSERT_TRUE(StoreTemplate({L"L", std::wstring(100000, L'L')}, kTime));
    {
        const FailingAllocations noLargeBlocks(64 * 1024);
        AnswerDialog(L"定型文一覧", [](HWND dialog) {
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        SendCommand(kCmdTemplateList);
        EXPECT_TRUE(WaitForSpeech(L"ファイルを開けませんでした", 2000));
    }
    EXPECT_EQ(CurrentEditor().Text(), L"abc");

    ClearDataFolder();
    SetEditorText(L"abc\r\n{\\rtf1 x}");
    CurrentEditor().Select(4, 13);
    std::wstring bodyShown;
    std::wstring noTitle, noBody;
    bool plain = false;
    bool focusOnBody = false;
    bool focusOnOk = false;
    AnswerDialog(L"定型文の追加", [&](HWND dialog) {
        bodyShown = WindowText(GetDlgItem(dialog, 102));
        // Wine shows RTF markup literally even in rich mode: only the mode tells.
        plain = SendDlgItemMessageW(dialog, 102, EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT;
        AnswerBoxKeepingText(L"入力エラー", &noTitle);
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        SetDlgItemTextW(dialog, 101, L"T");
        SetDlgItemTextW(dialog, 102, L"");
        AnswerBoxKeepingText(L"入力エラー", &noBody);
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        focusOnBody = GetFocus() == GetDlgItem(dialog, 102);
        SetDlgItemTextW(dialog, 102, L"{\\rtf1 x}\r\n");
        SetFocus(GetDlgItem(dialog, 102));
        SendDlgItemMessageW(dialog, 102, EM_SETSEL, 9, 9);
        // Typed for the dialog's own loop, which handles Tab as the user's key.
        for (BYTE key : std::initializer_list<BYTE>{'A', VK_RETURN, 'B', VK_TAB}) {
            keybd_event(key, 0, 0, 0);
            keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        }
        AnswerDialog(L"定型文の追加", [&](HWND sameDialog) {
            focusOnOk = GetFocus() == GetDlgItem(sameDialog, IDOK);
            PostMessageW(sameDialog, WM_COMMAND, IDOK, 0);
        });
    });
    SendCommand(kCmdAddTemplate);
    EXPECT_EQ(bodyShown, L"{\\rtf1 x}");
    EXPECT_TRUE(plain);
    EXPECT_EQ(noTitle, L"定型文のタイトルが入力されていません");
    EXPECT_EQ(noBody, L"定型文の本文が入力されていません");
    EXPECT_TRUE(focusOnBody);
    EXPECT_TRUE(focusOnOk);
    EXPECT_TRUE(WaitForSpeech(L"登録しました", 2000));
    const std::vector<std::wstring> files = TemplateFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(FileBytes(files[0]), kMark + "[Header]\nTitle=T\n----------\n{\\rtf1 x}a\r\nb\r\n");

    ClearDataFolder();
    ASSERT_TRUE(StoreTemplate({L"T", L"\r\nline one\r\n\r\n"}, kTime));
    const std::wstring file = TemplateFiles().at(0);
    const std::string stored = FileBytes(file);
    const auto typeTitle = [](HWND dialog, wchar_t letter) {
        SendDlgItemMessageW(dialog, 101, EM_SETSEL, 0, -1);
        SendDlgItemMessageW(dialog, 101, WM_CHAR, letter, 0);
    };
    EditFirstTemplate([&bodyShown](HWND dialog) {
        bodyShown = WindowText(GetDlgItem(dialog, 102));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(bodyShown, L"\r\nline one\r\n\r\n");
    EXPECT_EQ(FileBytes(file), stored);

    EditFirstTemplate([&typeTitle](HWND dialog) {
        typeTitle(dialog, L'N');
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });

    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    bool stayed = false;
    EditFirstTemplate([&](HWND dialog) {
        typeTitle(dialog, L'Z');
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        stayed = IsWindowVisible(dialog);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(WaitForSpeech(L"変更の保存に失敗しました", 2000));
    EXPECT_EQ(FileBytes(file), kMark + "[Header]\nTitle=N\n----------\n\r\nline one\r\n\r\n");

    // Legacy templates are converted without overwriting any.
    const ScratchFolder legacy(L"orinda-legacy-templates");
    const std::wstring legacyTemplates = legacy.File(L"Template");
    CreateDirectoryW(legacyTemplates.c_str(), nullptr);
    // "あい" in code page 932.
    ASSERT_TRUE(WriteFileSafely(legacyTemplates + L"\\挨拶.txt", "\x82\xA0\x82\xA2"));
    ASSERT_TRUE(WriteFileSafely(legacyTemplates + L"\\kept.txt", "old"));
    ASSERT_TRUE(WriteFileSafely(TemplateFolder() + L"\\kept.txt", kMark + "mine"));
    MigrateLegacyTemplates(legacy.Path());
    EXPECT_EQ(FileBytes(TemplateFolder() + L"\\挨拶.txt"), kMark + "\xE3\x81\x82\xE3\x81\x84");
    EXPECT_EQ(FileBytes(TemplateFolder() + L"\\kept.txt"), kMark + "mine");
}

}  // namespace
