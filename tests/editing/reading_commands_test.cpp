#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "core/editor_control.h"
#include "document/encodings.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

class ReadingCommands : public MainWindowTest {
protected:
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

TEST_F(ReadingCommands, LinesSelectionStateNameEncodingAndCountsAreReadAsAsked) {
    SetEditorText(L"first\r\rthird line");
    const Editor editor = CurrentEditor();
    editor.PlaceCaret(editor.LineStart(2) + 5);
    EXPECT_EQ(SayKeys({VK_CONTROL, '4'}), Texts{L"third line"});

    // An empty line hands an empty text to the screen reader.
    editor.PlaceCaret(editor.LineStart(1));
    for (WORD command : {kCmdReadLine, kCmdReadLineToCaret, kCmdReadLineFromCaret})
        EXPECT_EQ(Say(command), Texts{L""}) << command;
    // At the end of a line.
    editor.PlaceCaret(5);
    EXPECT_EQ(SayKeys({VK_CONTROL, '5'}), Texts{L"first"});

    const std::wstring line = std::wstring(5000, L'a') + L"end";
    SetEditorText(line);
    CurrentEditor().PlaceCaret(4000);
    EXPECT_EQ(SayKeys({VK_CONTROL, '6'}), Texts{line.substr(4000)});

    // The selection state names a marked start, or the selection without breaks.
    SetEditorText(L"abcdef\rgh");
    EXPECT_EQ(SayKeys({VK_MENU, '4'}), Texts{L"範囲選択なし"});

    editor.PlaceCaret(4);
    PressKeys({VK_F4});
    // Each answer must be heard before the next command clears the log.
    ASSERT_TRUE(WaitForSpeech(L"範囲選択の開始位置を設定しました", 1000));
    editor.Select(0, 8);
    EXPECT_EQ(Say(kCmdSelectionState), Texts{L"1行5文字が範囲選択の始点として設定されています"});

    // Marked backwards, the range still holds both marked characters.
    editor.PlaceCaret(2);
    PressKeys({VK_F4});
    ASSERT_TRUE(WaitForSpeech(L"1行3文字から1行5文字まで3文字を範囲選択しました", 1000));
    EXPECT_EQ(Say(kCmdSelectionState), Texts{L"1行3文字から1行5文字まで3文字が範囲選択されています"});

    SetEditorText(L"abc\rde");
    editor.Select(0, 6);
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
    MoveWindow(window_, 0, 0, 160, 300, TRUE);
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
