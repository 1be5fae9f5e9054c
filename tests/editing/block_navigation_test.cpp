#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "app/commands.h"
#include "core/editor_control.h"
#include "editing/block_navigation.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

// Lines a, b, empty, c, d, empty, empty, e: blocks start at lines 0, 3, 7.
const std::wstring kEightLines = L"a\rb\r\rc\rd\r\r\re";

class BlockNavigation : public MainWindowTest {
protected:
    void PlaceOnLine(long line) { CurrentEditor().PlaceCaret(CurrentEditor().LineStart(line)); }
    long CaretLine() { return CurrentEditor().LineFromPosition(CurrentEditor().GetSelection().start); }
    void ExpectMoveTo(std::initializer_list<WORD> keys, long line, const std::wstring& spoken) {
        ClearSpeechLog();
        PressKeys(keys);
        EXPECT_EQ(CaretLine(), line);
        EXPECT_TRUE(WaitForSpeech(spoken, 1000)) << spoken;
    }
    void ExpectNoMove(std::initializer_list<WORD> keys) {
        const long before = CurrentEditor().GetSelection().start;
        ClearSpeechLog();
        PressKeys(keys);
        EXPECT_TRUE(NothingHeard());
        EXPECT_EQ(CurrentEditor().GetSelection().start, before);
    }
    // Opens the block list; `answer` reads or changes its list box, then
    // `button` is pressed.
    void OnBlockList(int button, const std::function<void(HWND list)>& answer) {
        AnswerDialog(L"ブロック移動", [=](HWND dialog) {
            answer(GetDlgItem(dialog, 101));
            SendMessageW(dialog, WM_COMMAND, button, 0);
        });
        SendCommand(kCmdBlockList);
    }
};

TEST_F(BlockNavigation, BlocksAreFoundWholeAndTheKeysAndTheListMoveBetweenThemBeyondTheFirstPieceAndOverWrappedLines) {
    // A leading empty line, a line of one space inside a block, a trailing break.
    const std::vector<Block> others = BlocksOfText(L"\rx\r \ry\r\rz\r");
    ASSERT_EQ(others.size(), 2u);
    EXPECT_EQ(others[0].line, 1);
    EXPECT_EQ(others[1].line, 5);
    EXPECT_TRUE(BlocksOfText(L"").empty());

    // A surrogate pair that straddles the limit is left out whole.
    const std::wstring longLine = std::wstring(3071, L'a') + L"\xD83D\xDE00" + L"tail";
    const std::vector<Block> blocks = BlocksOfText(longLine);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].text, std::wstring(3071, L'a'));

    // A piece that starts inside the text cannot tell where a line longer
    // than the piece begins.
    EXPECT_EQ(ParagraphStart(L"abc", 10, 13), kNeedMoreText);

    SetEditorText(kEightLines);
    PlaceOnLine(4);
    ExpectMoveTo({VK_CONTROL, VK_DOWN}, 7, L"e");
    ExpectNoMove({VK_CONTROL, VK_DOWN});
    PlaceOnLine(4);
    ExpectMoveTo({VK_CONTROL, VK_UP}, 3, L"c");
    ExpectMoveTo({VK_CONTROL, VK_UP}, 0, L"a");
    ExpectNoMove({VK_CONTROL, VK_UP});

    // Long texts are searched beyond the first piece.
    const std::wstring filler(20000, L'f');
    SetEditorText(L"first\r" + filler + L"\r\rlast");
    PlaceOnLine(1);
    ExpectMoveTo({VK_CONTROL, VK_DOWN}, 3, L"last");
    ExpectMoveTo({VK_CONTROL, VK_UP}, 0, L"first");

    ClearSpeechLog();
    SetEditorText(kEightLines);
    PlaceOnLine(1);
    std::vector<std::wstring> items;
    long shownSelection = -1;
    OnBlockList(IDOK, [&](HWND list) {
        shownSelection = static_cast<long>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        items = ListBoxItems(list);
        SendMessageW(list, LB_SETCURSEL, 1, 0);
    });
    EXPECT_EQ(items, (std::vector<std::wstring>{L"1行 - a", L"4行 - c", L"8行 - e"}));
    EXPECT_EQ(shownSelection, 0);
    EXPECT_EQ(CaretLine(), 3);
    EXPECT_TRUE(NothingHeard());

    OnBlockList(IDCANCEL, [](HWND list) { SendMessageW(list, LB_SETCURSEL, 2, 0); });
    EXPECT_EQ(CaretLine(), 3);

    // A line wider than the list can be scrolled into view.
    SetEditorText(L"short\r\r" + std::wstring(300, L'長'));
    bool scrollsFarEnough = false;
    OnBlockList(IDCANCEL, [&scrollsFarEnough](HWND list) {
        RECT client{};
        GetClientRect(list, &client);
        // 300 wide characters are many times the width of the list.
        scrollsFarEnough = SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0) > 5 * client.right;
    });
    EXPECT_TRUE(scrollsFarEnough);

    SetEditorText(L"");
    OnBlockList(IDOK, [](HWND) {});

    // Wrapped lines count while word wrap is on.
    MoveWindow(window_, 0, 0, 200, 300, TRUE);
    SetEditorText(std::wstring(60, L'w') + L"\r\rsecond");
    SendCommand(kCmdWordWrap);
    const long wrappedLines = CurrentEditor().LineCount();
    ASSERT_GT(wrappedLines, 3);
    PlaceOnLine(1);
    const long firstLineLength = CurrentEditor().LineLength(0);
    ExpectMoveTo({VK_CONTROL, VK_UP}, 0, std::wstring(static_cast<size_t>(firstLineLength), L'w'));
    ExpectMoveTo({VK_CONTROL, VK_DOWN}, wrappedLines - 1, L"second");

    OnBlockList(IDCANCEL, [&items](HWND list) { items = ListBoxItems(list); });
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1], std::to_wstring(wrappedLines) + L"行 - second");
}

}  // namespace
