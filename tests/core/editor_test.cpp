#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include "core/editor.h"

namespace {

// The real rich-edit control in a hidden window: line breaks, lines and undo
// are the control's own.
TEST(EditorFacade, LineBreaksAreOneUnitInPositionsAndLinesAreCutWhole) {
    LoadLibraryW(L"Msftedit.dll");
    const HWND control = CreateWindowExW(0, MSFTEDIT_CLASS, L"", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL |
                                         ES_AUTOHSCROLL, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    Editor editor(control);
    editor.SetWordWrap(false);
    editor.SetText(L"ab\r\ncd\r\n");
    EXPECT_EQ(editor.Text(), L"ab\r\ncd\r\n");
    EXPECT_EQ(editor.EditorText(), L"ab\rcd\r");
    EXPECT_EQ(editor.LineCount(), 3);
    EXPECT_EQ(editor.LineStart(1), 3);
    EXPECT_EQ(editor.LineFromPosition(4), 1);
    EXPECT_EQ(editor.LineText(1, 100), L"cd");
    EXPECT_EQ(editor.LineLength(2), 0);
    EXPECT_EQ(editor.TextRange(1, 4), L"b\rc");

    editor.SetText(L"ab\U0001F600cd");
    EXPECT_EQ(editor.LineText(0, 3), L"ab");
    EXPECT_EQ(editor.LineText(0, 4), L"ab\U0001F600");
    DestroyWindow(control);
}

}  // namespace
