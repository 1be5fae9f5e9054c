#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "core/editor_control.h"
#include "core/window_text.h"
#include "document/document_io.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "document/file_commands.h"
#include "document/save_question.h"
#include "resources/search_ids.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

using FileCommandsTest = FileWindowTest;

TEST_F(FileCommandsTest, OpenDetectsSaveKeepsTheBytesAndSaveWithEncodingWritesTheMark) {
    WriteTestFile(File(L"a.txt"), "\x82\xA0\x82\xA2\r\nabc\r\n");
    AnswerFileDialog(L"テキストファイルを開く", File(L"a.txt"));
    SendCommand(kCmdOpen);
    CurrentEditor().ReplaceSelection(L"う");
    SendCommand(kCmdSave);
    EXPECT_EQ(FileBytes(File(L"a.txt")), "\x82\xA4\x82\xA0\x82\xA2\r\nabc\r\n");
    EXPECT_FALSE(CurrentEditor().IsModified());

    // Rich-text markup stays text, saved byte for byte.
    const std::string markup = "\xEF\xBB\xBF{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0 \\b \xE5\xA4\xAA\xE5\xAD\x97\\b0}\r\nplain\r\n";
    WriteTestFile(File(L"rtf.txt"), markup);
    ASSERT_EQ(LoadDocument(File(L"rtf.txt")), ReadResult::kDone);
    CurrentEditor().SetModified(true);
    SendCommand(kCmdSave);
    EXPECT_EQ(FileBytes(File(L"rtf.txt")), markup);

    // UTF-16 drops the odd byte; saving with an encoding writes its mark.
    WriteTestFile(File(L"u.txt"), std::string("\xFF\xFE" "a\0\n\0b\0X", 9));
    ASSERT_EQ(LoadDocument(File(L"u.txt")), ReadResult::kDone);
    AnswerWith(L"文字コード選択", IDOK);  // index 0, Shift_JIS
    AnswerWith(L"名前を付けて保存", IDCANCEL);
    SendCommand(kCmdSaveWithEncoding);
    EXPECT_EQ(DocumentEncoding(), kUtf16Le);
    AnswerDialog(L"文字コード選択", [](HWND dialog) {
        SendDlgItemMessageW(dialog, 101, CB_SETCURSEL, 4, 0);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    AnswerFileDialog(L"名前を付けて保存", File(L"b.txt"));
    SendCommand(kCmdSaveWithEncoding);
    EXPECT_EQ(FileBytes(File(L"b.txt")), std::string("\xFE\xFF\0a\0\r\0\n\0b", 10));
    EXPECT_EQ(DocumentEncoding(), kUtf16Be);
    EXPECT_EQ(WindowText(window_), L"b.txt - オリンダ");
    WriteTestFile(File(L"b.txt"), "\xEF\xBB\xBFz");
    AnswerWith(L"文字コード選択", IDOK);
    SendCommand(kCmdReloadWithEncoding);
    EXPECT_EQ(DocumentEncoding(), kShiftJis);
    EXPECT_EQ(CurrentEditor().Text().back(), L'z');
}

TEST_F(FileCommandsTest, SaveQuestionAnswersTextEditedBackAndInsertGoesAfterTheSelectionNeverIntoLockedText) {
    SetEditorText(L"text");
    CurrentEditor().ReplaceSelection(L"more ");
    std::wstring question;
    AnswerDialog(L"保存確認", [&question](HWND box) {
        question = DialogItemText(box, 0xFFFF);
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    SendCommand(kCmdNew);
    EXPECT_EQ(question, L"無題1の内容は変更されています\n変更を保存しますか？");

    // Neither Cancel nor a cancelled save loses the text: the save below writes it.
    AnswerWith(L"保存確認", IDYES);
    AnswerWith(L"名前を付けて保存", IDCANCEL);
    SendCommand(kCmdNew);
    AnswerWith(L"保存確認", IDYES);
    AnswerFileDialog(L"名前を付けて保存", File(L"saved.txt"));
    SendCommand(kCmdNew);
    EXPECT_EQ(FileBytes(File(L"saved.txt")), "more text");
    ASSERT_EQ(LoadDocument(File(L"saved.txt")), ReadResult::kDone);
    CurrentEditor().ReplaceSelection(L"y");
    CurrentEditor().Select(0, 1);
    CurrentEditor().ReplaceSelection(L"");
    EXPECT_TRUE(CurrentEditor().IsModified());
    EXPECT_TRUE(ConfirmDiscard(window_));  // a question would block here

    // After a save the text edited back to the loaded text differs from the file.
    for (const WORD save : {kCmdSave, kCmdSaveAs}) {
        WriteTestFile(File(L"a.txt"), "A");
        ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
        CurrentEditor().Select(0, 1);
        CurrentEditor().ReplaceSelection(L"B");
        if (save == kCmdSaveAs) AnswerFileDialog(L"名前を付けて保存", File(L"b.txt"));
        SendCommand(save);
        CurrentEditor().Select(0, 1);
        CurrentEditor().ReplaceSelection(L"A");
        AnswerWith(L"保存確認", IDCANCEL);  // Cancel keeps the text only when asked
        EXPECT_FALSE(ConfirmDiscard(window_)) << save;
    }

    // Reloading in another encoding asks before it drops the edits.
    AnswerWith(L"文字コード選択", IDOK);  // index 0, Shift_JIS
    AnswerWith(L"保存確認", IDCANCEL);
    SendCommand(kCmdReloadWithEncoding);
    ASSERT_EQ(CurrentEditor().Text(), L"A");
    EXPECT_EQ(DocumentEncoding(), kUtf8);
    AnswerWith(L"文字コード選択", IDOK);
    AnswerWith(L"保存確認", IDYES);
    SendCommand(kCmdReloadWithEncoding);
    EXPECT_EQ(FileBytes(File(L"b.txt")), "A");
    EXPECT_EQ(DocumentEncoding(), kShiftJis);

    CurrentEditor().ReplaceSelection(L"x");
    ClearSpeechLog();
    AnswerWith(L"保存確認", IDNO);
    SendCommand(kCmdNew);
    EXPECT_TRUE(WaitForSpeech(L"新規", 2000));
    EXPECT_TRUE(CurrentEditor().IsEmpty());

    SetEditorText(L"abcd");
    WriteTestFile(File(L"a.txt"), "\xC3\xA9X");  // UTF-8 "éX"
    CurrentEditor().Select(1, 3);
    AnswerFileDialog(L"テキストファイルを開く", File(L"a.txt"));
    SetEditable(false);
    SendCommand(kCmdInsertFile);
    EXPECT_TRUE(WaitForSpeech(L"編集禁止", 2000));
    // Stops here when the file was inserted: the dialog's answer is used up.
    ASSERT_EQ(CurrentEditor().Text(), L"abcd");
    SetEditable(true);
    SendCommand(kCmdInsertFile);
    EXPECT_EQ(CurrentEditor().Text(), L"abc\u00E9Xd");
    EXPECT_TRUE(WaitForSpeech(L"1行6文字", 2000));
    EXPECT_EQ(InsertPath(), File(L"a.txt"));
    EXPECT_TRUE(CurrentEditor().CanUndo());
}

TEST_F(FileCommandsTest, FilesThatCannotBeLoadedAreRefusedAndLockedOnesLoadLocked) {
    WriteTestFile(File(L"a.txt"), "mine");
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    std::string lines;
    for (int line = 0; line < 1000000; ++line) lines += "\r\n";
    WriteTestFile(File(L"lines.txt"), lines);
    OpenChosenDocument(window_, File(L"lines.txt"));
    EXPECT_TRUE(WaitForSpeech(L"ファイルが大きすぎるため読み込めません", 2000));
    EXPECT_EQ(DocumentPath(), File(L"a.txt"));
    EXPECT_EQ(CurrentEditor().Text(), L"mine");

    // A read-only file loads into a fresh control, which must keep all the editor promised.
    SetEditorText(L"old text");
    const HWND old = EditorWindow();
    RECT oldPlace{};
    GetWindowRect(old, &oldPlace);
    SendCommand(kCmdWordWrap);
    const std::string locked = std::string(300, 'x') + "\r\nsecond";
    WriteTestFile(File(L"ro.txt"), locked);
    SetFileAttributesW(File(L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(LoadDocument(File(L"ro.txt")), ReadResult::kDone);
    EXPECT_TRUE(WaitForSpeech(L"読み取り専用ファイル", 2000));

    const HWND fresh = EditorWindow();
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(GetParent(fresh), window_);
    EXPECT_EQ(GetDlgCtrlID(fresh), 101);
    RECT place{};
    GetWindowRect(fresh, &place);
    EXPECT_TRUE(EqualRect(&place, &oldPlace));
    EXPECT_EQ(GetFocus(), fresh);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(fresh, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_STREQ(format.szFaceName, L"Yu Gothic UI");
    EXPECT_EQ(format.yHeight, 240);
    EXPECT_EQ(SendMessageW(fresh, EM_GETLIMITTEXT, 0, 0), 104857600);

    const Editor editor = CurrentEditor();
    EXPECT_GT(editor.LineCount(), 2);
    EXPECT_FALSE(IsEditable());
    EXPECT_FALSE(IsLockToggleAllowed());
    EXPECT_FALSE(editor.IsModified());
    EXPECT_FALSE(editor.CanUndo());
    editor.PlaceCaret(0);
    PressKeys({'Y'});
    EXPECT_EQ(editor.Text(), std::wstring(300, L'x') + L"\r\nsecond");
    editor.Select(0, 3);
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitForSpeech(L"コピー", 1000));
    EXPECT_FALSE(SaveDocumentTo(File(L"ro.txt"), SaveAnswer::kSpoken));
    EXPECT_EQ(FileBytes(File(L"ro.txt")), locked);

    WriteTestFile(File(L"a.txt"), "free");
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    EXPECT_TRUE(IsEditable());
    EXPECT_TRUE(IsLockToggleAllowed());
    EXPECT_EQ(GetWindowLongPtrW(EditorWindow(), GWL_STYLE) & ES_READONLY, 0);

    // Past a NUL the file is locked, and a save asks where to.
    const std::string bytes("before\0after", 12);
    WriteTestFile(File(L"cut.txt"), bytes);
    ASSERT_EQ(LoadDocument(File(L"cut.txt")), ReadResult::kDone);
    EXPECT_TRUE(WaitForSpeech(L"NUL文字以降は読み込めないため編集禁止", 2000));
    EXPECT_FALSE(IsEditable());
    SendCommand(kCmdReadOnlyToggle);
    CurrentEditor().ReplaceSelection(L"x");
    AnswerWith(L"名前を付けて保存", IDCANCEL);
    SendCommand(kCmdSave);
    AnswerFileDialog(L"名前を付けて保存", File(L"b.txt"));
    SendCommand(kCmdSave);
    EXPECT_EQ(FileBytes(File(L"b.txt")), "xbefore");
    EXPECT_EQ(FileBytes(File(L"cut.txt")), bytes);
}

// Past the sizes where work takes seconds the user first hears that it has
// started; below them only the answer.
TEST_F(FileCommandsTest, LongWorkSaysFirstThatItHasStarted) {
    std::string lines;
    for (int line = 0; line < 1100; ++line) lines += std::string(1000, 'a') + "\r\n";
    WriteTestFile(File(L"large.txt"), lines);
    WriteTestFile(File(L"small.txt"), std::string(1000, 'a'));
    const auto heardInOrder = [](std::vector<std::wstring> texts) {
        EXPECT_TRUE(WaitForSpeech(texts.back(), 5000));
        EXPECT_EQ(SpokenTexts(), texts);
        ClearSpeechLog();
    };
    OpenChosenDocument(window_, File(L"large.txt"));
    heardInOrder({L"読み込んでいます", L"読み込みました"});
    CurrentEditor().SetModified(true);
    SendCommand(kCmdSave);
    heardInOrder({L"保存しています", L"保存しました"});
    CurrentEditor().Select(0, CurrentEditor().TextLength());
    SendCommand(kCmdUpperCase);
    heardInOrder({L"変換しています", L"大文字に変換しました"});
    CurrentEditor().PlaceCaret(0);
    AnswerDialog(L"正規表現置換", [](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_REGEX_REPLACE_PATTERN, L"A\\r");
        SetDlgItemTextW(dialog, IDC_REGEX_REPLACE_WITH, L"b");
        PostMessageW(dialog, WM_COMMAND, IDC_REGEX_REPLACE_ALL, 0);
    });
    SendCommand(kCmdRegexReplace);
    heardInOrder({L"置換しています", L"1100件置換しました"});
    CurrentEditor().SetModified(false);
    OpenChosenDocument(window_, File(L"small.txt"));
    heardInOrder({L"読み込みました"});
}

}  // namespace
