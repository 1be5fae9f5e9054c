#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "core/clipboard.h"
#include "core/editor_control.h"
#include "core/outside_world.h"
#include "core/settings.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "editing/open_url.h"
#include "editing/quick_input.h"
#include "editing/text_commands.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

std::vector<std::wstring> g_opened;
bool RecordOpen(const std::wstring& target) {
    g_opened.push_back(target);
    return true;
}

void WINAPI FixedClock(SYSTEMTIME* now) {
    *now = SystemTime(2023, 5, 7, 0, 5, 9);
}

class EditingCommands : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Outside().shellOpen = RecordOpen;
        g_opened.clear();
        SetQuickInputClock(FixedClock);
    }
    void TearDown() override {
        SetQuickInputClock(nullptr);
        MainWindowTest::TearDown();
    }
    void QuickInput(int index, WORD button) {
        AnswerDialog(L"簡単入力", [this, index, button](HWND dialog) {
            const HWND list = GetDlgItem(dialog, 101);
            shownSelection_ = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
            shownItems_ = ListBoxItems(list);
            SendMessageW(list, LB_SETCURSEL, index, 0);
            SendMessageW(dialog, WM_COMMAND, button, 0);
        });
        PressKeys({VK_F7});
    }
    std::vector<std::wstring> shownItems_;
    int shownSelection_ = -1;
    std::vector<std::wstring> Say(WORD command) {
        ClearSpeechLog();
        SendCommand(command);
        return Heard();
    }
    std::vector<std::wstring> SayKeys(std::initializer_list<WORD> keys) {
        ClearSpeechLog();
        PressKeys(keys);
        return Heard();
    }
    using Texts = std::vector<std::wstring>;
};

TEST_F(EditingCommands, DatesConversionLockWrapAddressesClipboardAndReadingDoWhatTheMenuSaysAndGuardTheText) {
    const SYSTEMTIME sunday = SystemTime(2023, 5, 7, 0, 5, 9);
    EXPECT_EQ(DateTimeText(1, sunday), L"令和5年5月7日\r\n");
    EXPECT_EQ(DateTimeText(3, sunday), L"2023年5月7日\r\n");
    EXPECT_EQ(DateTimeText(4, sunday), L"2023年5月7日（日曜日）\r\n");
    EXPECT_EQ(DateTimeText(5, sunday), L"午前0時5分9秒\r\n");
    EXPECT_EQ(DateTimeText(6, sunday), L"0時5分9秒\r\n");
    EXPECT_EQ(DateTimeText(5, SystemTime(2023, 5, 7, 12, 30, 0)), L"午後0時30分0秒\r\n");
    // January and February count as months of the year before.
    EXPECT_EQ(DateTimeText(4, SystemTime(2024, 2, 29, 0, 0, 0)), L"2024年2月29日（木曜日）\r\n");

    EXPECT_EQ(ConvertText(L"ｶﾞa1", Conversion::kFullWidth), L"ガａ１");
    EXPECT_EQ(ConvertText(L"ÀBC", Conversion::kLowerCase), L"àbc");

    SetEditorText(L"ガギ abc\rdef yy");
    const Editor editor = CurrentEditor();
    editor.Select(3, 9);
    SendCommand(kCmdUpperCase);
    EXPECT_EQ(editor.EditorText(), L"ガギ ABC\rDEf yy");
    EXPECT_EQ(editor.GetSelection().start, 9);
    EXPECT_EQ(editor.GetSelection().end, 9);
    EXPECT_TRUE(WaitForSpeech(L"大文字に変換しました", 1000));

    editor.Select(0, 2);
    SendCommand(kCmdHalfWidth);
    EXPECT_EQ(editor.EditorText(), L"ｶﾞｷﾞ ABC\rDEf yy");
    // Heard before the log is cleared below, or it could land after the clear.
    EXPECT_TRUE(WaitForSpeech(L"半角に変換しました", 1000));
    SendCommand(kCmdUndo);
    EXPECT_EQ(editor.EditorText(), L"ガギ ABC\rDEf yy");

    ClearSpeechLog();
    editor.PlaceCaret(1);
    SendCommand(kCmdLowerCase);
    EXPECT_EQ(Heard(), std::vector<std::wstring>{L"テキストが選択されていません"});
    EXPECT_EQ(editor.EditorText(), L"ガギ ABC\rDEf yy");

    // Hiragana have no half-width form: nothing converted is no success.
    SetEditorText(L"あい");
    editor.Select(0, 2);
    ClearSpeechLog();
    SendCommand(kCmdHalfWidth);
    EXPECT_EQ(Heard(), std::vector<std::wstring>{L"変換できませんでした"});
    EXPECT_EQ(editor.EditorText(), L"あい");

    // Conversion and paste without memory answer and keep the text.
    std::wstring text;
    for (int line = 0; line < 1000; ++line) text += std::wstring(99, L'a') + L'\r';
    text.pop_back();
    SetEditorText(text);
    ASSERT_TRUE(SetClipboardText(window_, L"b"));
    SendCommand(kCmdSelectAll);
    {
        const FailingAllocations noLargeBlocks(64 * 1024);
        SendCommand(kCmdUpperCase);
        EXPECT_TRUE(WaitForSpeech(L"テキストが長くなりすぎるため変換できませんでした", 2000));
        // In place of the whole text: its undo would need a copy of it.
        SendCommand(kCmdPaste);
        EXPECT_TRUE(WaitForSpeech(L"テキストが長くなりすぎるため貼り付けできませんでした", 2000));
    }
    EXPECT_EQ(CurrentEditor().EditorText(), text);
    EXPECT_FALSE(CurrentEditor().IsModified());

    // Quick input inserts after the selection.
    SetEditorText(L"ab");
    CurrentEditor().Select(0, 2);
    QuickInput(1, IDOK);
    EXPECT_EQ(shownSelection_, 0);
    ASSERT_EQ(shownItems_.size(), 6u);
    EXPECT_EQ(shownItems_[1], L"2 - 和暦の日付（曜日在り）");
    EXPECT_EQ(CurrentEditor().EditorText(), L"ab令和5年5月7日（日曜日）\r");
    EXPECT_EQ(CurrentEditor().GetSelection().start, 16);
    // The speech log writes line breaks as \r and \n.
    EXPECT_TRUE(WaitForSpeech(L"令和5年5月7日（日曜日）\\r\\n", 1000));
    QuickInput(4, IDCANCEL);
    EXPECT_EQ(CurrentEditor().EditorText(), L"ab令和5年5月7日（日曜日）\r");

    SetEditorText(L"abc");
    const Editor lockable = CurrentEditor();
    const double pressed = fake::NowMs();
    PressKeys({VK_CONTROL, VK_F11});
    EXPECT_GE(SpeechDelay(L"編集禁止", pressed), 100);
    lockable.PlaceCaret(3);
    PressKeys({'X'});
    lockable.Select(0, 3);
    SendCommand(kCmdUpperCase);
    EXPECT_EQ(lockable.EditorText(), L"abc");
    // Quick input refuses before its dialog, not after the choice.
    ClearSpeechLog();
    bool dialogShown = false;
    AnswerWith(L"簡単入力", IDCANCEL, &dialogShown);
    const double refused = fake::NowMs();
    PressKeys({VK_F7});
    EXPECT_GE(SpeechDelay(L"編集禁止", refused), 100);
    EXPECT_FALSE(dialogShown);

    ClearSpeechLog();
    PressKeys({VK_CONTROL, VK_F11});
    EXPECT_TRUE(WaitForSpeech(L"編集許可", 1000));
    lockable.PlaceCaret(3);
    PressKeys({'X'});
    EXPECT_EQ(lockable.EditorText(), L"abcx");

    // A file that is read-only on disk keeps its lock, silently.
    SetLockToggleAllowed(false);
    ClearSpeechLog();
    PressKeys({VK_CONTROL, VK_F11});
    EXPECT_TRUE(NothingHeard());
    EXPECT_TRUE(IsEditable());

    // Word wrap says its switch; F5 and the clipboard commands act silently.
    MoveWindow(window_, 0, 0, 160, 300, TRUE);
    SetEditorText(std::wstring(60, L'w'));
    PressKeys({VK_F11});
    EXPECT_TRUE(WaitForSpeech(L"折り返し表示オン", 1000));
    PressKeys({VK_F11});
    EXPECT_EQ(CurrentSettings().wordWrap, 0);
    EXPECT_EQ(CurrentEditor().LineCount(), 1);
    EXPECT_TRUE(WaitForSpeech(L"折り返し表示オフ", 1000));

    const std::wstring two = L"http://first.example/ xxx https://second.example/";
    EXPECT_EQ(UrlNearColumn(two, 30), L"https://second.example/");
    // Equally far from both: the earlier one.
    EXPECT_EQ(UrlNearColumn(two, 13), L"http://first.example/");

    // What does not look like an address is passed over.
    EXPECT_EQ(UrlNearColumn(L"http://localhost", 0), L"");
    EXPECT_EQ(UrlNearColumn(L"http://a.b", 0), L"http://a.b");
    EXPECT_EQ(UrlNearColumn(L"http://a.", 0), L"");
    EXPECT_EQ(UrlNearColumn(L"HTTP://example.com", 0), L"");
    const std::wstring longest = L"http://example.com/" + std::wstring(260 - 19, L'p');
    EXPECT_EQ(UrlNearColumn(longest, 0), longest);
    EXPECT_EQ(UrlNearColumn(longest + L"p", 0), L"");

    ClearSpeechLog();
    SetEditorText(L"top\rsee http://example.com/page (more)");
    const Editor withAddress = CurrentEditor();
    withAddress.PlaceCaret(withAddress.LineStart(1) + 30);
    PressKeys({VK_F5});
    EXPECT_EQ(g_opened, std::vector<std::wstring>{L"http://example.com/page"});
    g_opened.clear();
    withAddress.PlaceCaret(0);
    PressKeys({VK_F5});
    EXPECT_TRUE(g_opened.empty());

    SetEditorText(L"hello");
    SendCommand(kCmdSelectAll);
    SendCommand(kCmdCut);
    EXPECT_EQ(CurrentEditor().EditorText(), L"");
    SendCommand(kCmdPaste);
    SendCommand(kCmdPaste);
    EXPECT_EQ(CurrentEditor().EditorText(), L"hellohello");
    EXPECT_TRUE(NothingHeard());

    // The reading commands: lines, the selection state, the name, the encoding and the counts.
    SetEditorText(L"first\r\rthird line");
    const Editor reader = CurrentEditor();
    reader.PlaceCaret(reader.LineStart(2) + 5);
    EXPECT_EQ(SayKeys({VK_CONTROL, '4'}), Texts{L"third line"});

    // An empty line hands an empty text to the screen reader.
    reader.PlaceCaret(reader.LineStart(1));
    for (WORD command : {kCmdReadLine, kCmdReadLineToCaret, kCmdReadLineFromCaret})
        EXPECT_EQ(Say(command), Texts{L""}) << command;
    // At the end of a line.
    reader.PlaceCaret(5);
    EXPECT_EQ(SayKeys({VK_CONTROL, '5'}), Texts{L"first"});

    const std::wstring line = std::wstring(5000, L'a') + L"end";
    SetEditorText(line);
    CurrentEditor().PlaceCaret(4000);
    EXPECT_EQ(SayKeys({VK_CONTROL, '6'}), Texts{line.substr(4000)});

    // The selection state names a marked start, or the selection without breaks.
    SetEditorText(L"abcdef\rgh");
    EXPECT_EQ(SayKeys({VK_MENU, '4'}), Texts{L"範囲選択なし"});

    reader.PlaceCaret(4);
    PressKeys({VK_F4});
    // Each answer must be heard before the next command clears the log.
    ASSERT_TRUE(WaitForSpeech(L"範囲選択の開始位置を設定しました", 1000));
    reader.Select(0, 8);
    EXPECT_EQ(Say(kCmdSelectionState), Texts{L"1行5文字が範囲選択の始点として設定されています"});

    // Marked backwards, the range still holds both marked characters.
    reader.PlaceCaret(2);
    PressKeys({VK_F4});
    ASSERT_TRUE(WaitForSpeech(L"1行3文字から1行5文字まで3文字を範囲選択しました", 1000));
    EXPECT_EQ(Say(kCmdSelectionState), Texts{L"1行3文字から1行5文字まで3文字が範囲選択されています"});

    SetEditorText(L"abc\rde");
    reader.Select(0, 6);
    EXPECT_EQ(Say(kCmdSelectionState), Texts{L"1行1文字から2行2文字まで5文字が範囲選択されています"});

    EXPECT_EQ(SayKeys({VK_MENU, '2'}), Texts{L"ファイルはロードされていません"});
    EXPECT_EQ(SayKeys({VK_MENU, '3'}), Texts{L"文字コードはUTF-8です"});
    EXPECT_EQ(EncodingSentence(1234), L"文字コードはShift_JISです");
    EXPECT_EQ(EncodingSentence(65002), L"文字コードはUTF-8 BOM付きです");
    EXPECT_EQ(EncodingSentence(1201), L"文字コードはUTF-16 BEです");

    SetEditorText(L"ab\rcd");
    EXPECT_EQ(SayKeys({VK_CONTROL, '8'}), Texts{L"2行"});
    EXPECT_EQ(SayKeys({VK_CONTROL, '9'}), Texts{L"4文字"});
    EXPECT_EQ(SayKeys({VK_CONTROL, '0'}), Texts{L"改行文字を含めて5文字"});

    // Wrapped lines count as lines but not as characters.
    const std::wstring paragraph(40, L'm');
    SetEditorText(paragraph + L"\r" + paragraph);
    SendCommand(kCmdWordWrap);
    const long lines = CurrentEditor().LineCount();
    ASSERT_GE(lines, 4);
    EXPECT_EQ(Say(kCmdLineCount), Texts{std::to_wstring(lines) + L"行"});
    EXPECT_EQ(Say(kCmdCharacterCount), Texts{L"80文字"});
    EXPECT_EQ(Say(kCmdCharacterCountWithBreaks), Texts{L"改行文字を含めて81文字"});

    // The caret on the second wrapped line is on line 2.
    const Editor wrapped = CurrentEditor();
    wrapped.PlaceCaret(wrapped.LineStart(1) + 1);
    EXPECT_EQ(Say(kCmdCaretPosition), Texts{L"2行2文字"});
}

}  // namespace
