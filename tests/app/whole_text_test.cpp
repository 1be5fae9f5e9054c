#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/commands.h"
#include "core/editor_control.h"
#include "core/file_io.h"
#include "document/document_io.h"
#include "document/document_state.h"
#include "document/file_commands.h"
#include "resources/search_ids.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

std::wstring TestFile(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    ReadFileBytes(path, 1 << 20, bytes);
    return bytes;
}

class WholeText : public MainWindowTest {
protected:
    void TearDown() override {
        MainWindowTest::TearDown();
        for (const std::wstring& path : {file_, bigFile_}) {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    }
    void Command(WORD id) { SendMessageW(window_, WM_COMMAND, id, 0); }
    void ReplaceAll(const std::wstring& term, const std::wstring& replacement) {
        AnswerDialog(L"置換", [=](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_REPLACE_TERM, term.c_str());
            SetDlgItemTextW(dialog, IDC_REPLACE_WITH, replacement.c_str());
            SendMessageW(dialog, WM_COMMAND, IDC_REPLACE_ALL, 0);
        });
        Command(kCmdReplace);
    }
    const std::wstring file_ = TestFile(L"orinda_whole_text.txt");
    const std::wstring bigFile_ = TestFile(L"orinda_whole_text_big.txt");
};

TEST_F(WholeText, AFreshControlKeepsWhatTheEditorPromised) {
    SetEditorText(L"old text");
    const HWND old = EditorWindow();
    RECT oldPlace{};
    GetWindowRect(old, &oldPlace);
    Command(kCmdWordWrap);
    WriteBytes(file_, std::string(300, 'x') + "\r\nsecond");
    SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(LoadDocument(file_), ReadResult::kDone);

    const HWND fresh = EditorWindow();
    ASSERT_NE(fresh, old);
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
    EXPECT_EQ(SendMessageW(fresh, EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT, TM_PLAINTEXT);
    EXPECT_EQ(SendMessageW(fresh, EM_GETLIMITTEXT, 0, 0), 104857600);

    const Editor editor = CurrentEditor();
    EXPECT_GT(editor.LineCount(), 2);
    EXPECT_TRUE(editor.IsReadOnly());
    EXPECT_FALSE(IsEditable());
    EXPECT_FALSE(editor.IsModified());
    EXPECT_FALSE(editor.CanUndo());
    editor.PlaceCaret(0);
    PressKeys({'Y'});
    EXPECT_EQ(editor.Text(), std::wstring(300, L'x') + L"\r\nsecond");
    editor.Select(0, 3);
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitForSpeech(L"コピー", 1000));
}

TEST_F(WholeText, OneUndoBringsBackTheTextBeforeAReplaceAll) {
    SetEditorText(L"one two one");
    const Editor before = CurrentEditor();
    before.ReplaceSelection(L"A");
    before.SetModified(false);
    before.Select(0, 1);
    ReplaceAll(L"one", L"1");
    EXPECT_TRUE(WaitForSpeech(L"2件置換しました", 2000));
    EXPECT_EQ(CurrentEditor().EditorText(), L"A1 two 1");
    EXPECT_TRUE(CurrentEditor().IsModified());

    // An edit made after it is undone first, by the control itself.
    CurrentEditor().PlaceCaret(2);
    PressKeys({'X'});
    ClearSpeechLog();
    PressKeys({VK_CONTROL, 'Z'});
    EXPECT_EQ(CurrentEditor().EditorText(), L"A1 two 1");
    EXPECT_TRUE(WaitForSpeech(L"元に戻す", 1000));
    ClearSpeechLog();
    PressKeys({VK_CONTROL, 'Z'});
    const Editor restored = CurrentEditor();
    EXPECT_EQ(restored.EditorText(), L"Aone two one");
    EXPECT_EQ(restored.GetSelection().start, 0);
    EXPECT_EQ(restored.GetSelection().end, 1);
    EXPECT_FALSE(restored.IsModified());
    EXPECT_TRUE(WaitForSpeech(L"元に戻す", 1000));
    // Then the control's own undo again, which has nothing left.
    ClearSpeechLog();
    PressKeys({VK_CONTROL, 'Z'});
    PumpMessages(200);
    EXPECT_EQ(CurrentEditor().EditorText(), L"Aone two one");
    EXPECT_TRUE(SpokenTexts().empty());

    // The menu's undo, after a save in between: the text brought back is not the saved one.
    CurrentEditor().PlaceCaret(0);
    ReplaceAll(L"two", L"2");
    CurrentEditor().SetModified(false);
    Command(kCmdUndo);
    EXPECT_EQ(CurrentEditor().EditorText(), L"Aone two one");
    EXPECT_TRUE(CurrentEditor().IsModified());
}

TEST_F(WholeText, AMillionEmptyLinesAreRefusedAndTheOpenDocumentKept) {
    WriteBytes(file_, "kept");
    ASSERT_EQ(LoadDocument(file_), ReadResult::kDone);
    std::string lines;
    for (int line = 0; line < 1000000; ++line) lines += "\r\n";
    WriteBytes(bigFile_, lines);
    ClearSpeechLog();
    OpenChosenDocument(window_, bigFile_);
    EXPECT_TRUE(WaitForSpeech(L"ファイルが大きすぎるため読み込めません", 2000));
    EXPECT_EQ(CurrentEditor().Text(), L"kept");
    EXPECT_EQ(DocumentPath(), file_);
}

TEST_F(WholeText, RichTextMarkupStaysTextAndIsSavedByteForByte) {
    const std::string markup = "\xEF\xBB\xBF{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0 \\b \xE5\xA4\xAA\xE5\xAD\x97\\b0}\r\nplain\r\n";
    WriteBytes(file_, markup);
    ASSERT_EQ(LoadDocument(file_), ReadResult::kDone);
    EXPECT_EQ(CurrentEditor().Text(), L"{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0 \\b 太字\\b0}\r\nplain\r\n");
    CurrentEditor().ReplaceSelection(L"");
    CurrentEditor().SetModified(true);
    Command(kCmdSave);
    EXPECT_EQ(ReadBytes(file_), markup);
}

TEST_F(WholeText, AReplaceAllPastTheEditorsLimitIsRefusedAndTheTextKept) {
    std::wstring text;
    for (int line = 0; line < 210; ++line) text += std::wstring(1000, L'a') + L'\r';
    SetEditorText(text);
    ReplaceAll(L"a", std::wstring(512, L'b'));
    EXPECT_TRUE(WaitForSpeech(L"テキストが長くなりすぎるため置換できませんでした", 5000));
    EXPECT_EQ(CurrentEditor().EditorText(), text);
    EXPECT_FALSE(CurrentEditor().IsModified());
}

}  // namespace
