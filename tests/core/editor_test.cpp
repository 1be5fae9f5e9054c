#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include "core/editor.h"

namespace {

// The real rich-edit control in a hidden window. Lines, breaks and positions
// are the control's own, heard through the reading commands.
TEST(EditorFacade, ALineCutAtItsLimitNeverKeepsHalfASurrogatePair) {
    LoadLibraryW(L"Msftedit.dll");
    const HWND control = CreateWindowExW(0, MSFTEDIT_CLASS, L"", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL |
                                         ES_AUTOHSCROLL, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    Editor editor(control);
    editor.SetText(L"ab\U0001F600cd");
    EXPECT_EQ(editor.LineText(0, 3), L"ab");
    EXPECT_EQ(editor.LineText(0, 4), L"ab\U0001F600");
    DestroyWindow(control);
}

}  // namespace
