#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include "core/editor.h"

namespace {

// The real rich-edit control in a hidden window: line breaks, lines and undo
// are the control's own.
class EditorFacade : public ::testing::Test {
protected:
    void SetUp() override {
        LoadLibraryW(L"Msftedit.dll");
        control_ = CreateWindowExW(0, MSFTEDIT_CLASS, L"", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                   0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(control_, nullptr);
        editor_ = Editor(control_);
        editor_.SetWordWrap(false);
    }
    void TearDown() override { DestroyWindow(control_); }
    HWND control_ = nullptr;
    Editor editor_{nullptr};
};

TEST_F(EditorFacade, LineBreaksAreOneUnitInPositionsAndLinesAreCutWhole) {
    editor_.SetText(L"ab\r\ncd\r\n");
    EXPECT_EQ(editor_.Text(), L"ab\r\ncd\r\n");
    EXPECT_EQ(editor_.EditorText(), L"ab\rcd\r");
    EXPECT_EQ(editor_.LineCount(), 3);
    EXPECT_EQ(editor_.LineStart(1), 3);
    EXPECT_EQ(editor_.LineFromPosition(4), 1);
    EXPECT_EQ(editor_.LineText(1, 100), L"cd");
    EXPECT_EQ(editor_.LineLength(2), 0);
    EXPECT_EQ(editor_.TextRange(1, 4), L"b\rc");

    editor_.SetText(L"ab\U0001F600cd");
    EXPECT_EQ(editor_.LineText(0, 3), L"ab");
    EXPECT_EQ(editor_.LineText(0, 4), L"ab\U0001F600");
}

}  // namespace
