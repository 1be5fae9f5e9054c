#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "core/editor_control.h"
#include "core/window_text.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

class JumpToLine : public MainWindowTest {
protected:
    void Jump(const std::wstring& typed) {
        AnswerDialog(L"行移動", [this, typed](HWND dialog) {
            const HWND combo = GetDlgItem(dialog, 101);
            shownField_ = WindowText(combo);
            shownItems_ = static_cast<long>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
            firstItem_.assign(16, L'\0');
            firstItem_.resize(static_cast<size_t>(
                SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(firstItem_.data()))));
            SetWindowTextW(combo, typed.c_str());
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        ClearSpeechLog();
        PressKeys({VK_CONTROL, 'J'});
    }
    std::wstring shownField_;
    std::wstring firstItem_;
    long shownItems_ = 0;
};

TEST_F(JumpToLine, OffersTheLinesAroundTheCaretMovesToTheTypedOneAndLeavesTheCaretForAnImpossibleOneOrCancel) {
    SetEditorText(L"one\rtwo\rthree");
    const Editor editor = CurrentEditor();
    editor.PlaceCaret(5);
    Jump(L"3abc");
    EXPECT_EQ(shownField_, L"2");
    EXPECT_EQ(shownItems_, 3);
    EXPECT_TRUE(WaitForSpeech(L"3行1文字", 1000));

    editor.PlaceCaret(10);
    Jump(L"");
    EXPECT_TRUE(WaitForSpeech(L"3行1文字", 1000));

    // An impossible number or Cancel leaves the caret.
    editor.Select(5, 6);
    Jump(L"4");
    EXPECT_EQ(editor.GetSelection().end, 6);
    EXPECT_EQ(Heard(), std::vector<std::wstring>{L"2行2文字"});

    ClearSpeechLog();
    AnswerDialog(L"行移動", [](HWND dialog) {
        SetDlgItemTextW(dialog, 101, L"1");
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SendCommand(kCmdJumpToLine);
    EXPECT_EQ(CurrentEditor().GetSelection().start, 5);
    EXPECT_TRUE(NothingHeard());

    // A long text lists the lines around the caret and takes any typed line.
    std::wstring text;
    for (int line = 0; line < 12000; ++line) text += L"x\r";
    SetEditorText(text);
    CurrentEditor().PlaceCaret(2 * 11990);
    Jump(L"3");
    EXPECT_EQ(shownField_, L"11991");
    EXPECT_EQ(shownItems_, 10000);
    EXPECT_EQ(firstItem_, L"2002");
    EXPECT_EQ(CurrentEditor().GetSelection().start, 4);
}

}  // namespace
