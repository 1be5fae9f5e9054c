#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/commands.h"
#include "core/data_folder.h"
#include "core/editor_control.h"
#include "core/settings.h"
#include "core/window_text.h"
#include "resources/search_ids.h"
#include "search/search_history.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

SearchHistory Numbered(int count) {
    SearchHistory history;
    for (int i = 0; i < count; ++i) history[i] = L"t" + std::to_wstring(i);
    return history;
}

// Opens the dialog of that title by its keys and answers it: fills the
// fields, then clicks.
void Search(const std::wstring& title, const std::wstring& term, int button, const wchar_t* replacement = nullptr,
            int matchCase = -1) {
    AnswerDialog(title, [=](HWND dialog) {
        SetDlgItemTextW(dialog, 101, term.c_str());
        if (replacement) SetDlgItemTextW(dialog, 102, replacement);
        if (matchCase >= 0)
            CheckDlgButton(dialog, title == L"検索" ? IDC_FIND_MATCH_CASE : IDC_REPLACE_MATCH_CASE,
                           matchCase ? BST_CHECKED : BST_UNCHECKED);
        ClickButton(dialog, button);
    });
    const WORD letter = title.find(L"置換") == std::wstring::npos ? 'F' : 'H';
    if (title.rfind(L"正規表現", 0) == 0)
        PressKeys({VK_CONTROL, VK_SHIFT, letter});
    else
        PressKeys({VK_CONTROL, letter});
}

class SearchCommands : public MainWindowTest {
protected:
    long Caret() const { return CurrentEditor().GetSelection().start; }
    void ExpectReplaced(const std::wstring& spoken, const std::wstring& text, long caret) {
        EXPECT_TRUE(SaysOnly(spoken));
        EXPECT_EQ(CurrentEditor().EditorText(), text);
        EXPECT_EQ(Caret(), caret);
    }
    bool SaysOnly(const std::wstring& text) {
        const bool said = Heard() == std::vector<std::wstring>{text};
        ClearSpeechLog();
        return said;
    }
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

TEST_F(SearchCommands, FindJumpRegexAndReplaceAnswerRefuseWhatTheyCannotDoAndKeepTheirHistoriesNewestFirst) {
    SetEditorText(L"abcabc");
    PressKeys({VK_SHIFT, VK_F3});
    EXPECT_TRUE(NothingHeard());  // no term yet: nothing happens
    bool asked = false;
    AnswerWith(L"検索", IDCANCEL, &asked);
    PressKeys({VK_F3});
    EXPECT_TRUE(asked);
    EXPECT_TRUE(NothingHeard());

    // A term stored by an earlier run is searched at once, as a plain search.
    WriteSettingString(L"Option31", L"c");
    LoadSettings(kLateStartupValues);
    PressKeys({VK_F3});
    EXPECT_TRUE(SaysOnly(L"1行3文字"));

    CurrentEditor().PlaceCaret(0);
    Search(L"検索", L"abc", IDOK);
    EXPECT_TRUE(SaysOnly(L"1行4文字"));

    const double pressed = fake::NowMs();
    PressKeys({VK_F3});
    EXPECT_GE(SpeechDelay(L"見つかりませんでした", pressed), 100);
    EXPECT_TRUE(SaysOnly(L"見つかりませんでした"));
    EXPECT_EQ(Caret(), 3);
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::FindTerms)[0], L"abc");

    CurrentEditor().PlaceCaret(6);
    PressKeys({VK_SHIFT, VK_F3});
    EXPECT_TRUE(SaysOnly(L"1行4文字"));
    // From a hit back to the one right before it.
    PressKeys({VK_SHIFT, VK_F3});
    EXPECT_TRUE(SaysOnly(L"1行1文字"));
    PressKeys({VK_SHIFT, VK_F3});
    EXPECT_TRUE(SaysOnly(L"見つかりませんでした"));

    SetEditorText(L"xabc");
    Search(L"検索", L"ABC", IDOK, nullptr, 1);
    EXPECT_TRUE(SaysOnly(L"見つかりませんでした"));
    bool shownChecked = false;
    AnswerDialog(L"検索", [&](HWND dialog) {
        shownChecked = IsDlgButtonChecked(dialog, IDC_FIND_MATCH_CASE) == BST_CHECKED;
        CheckDlgButton(dialog, IDC_FIND_MATCH_CASE, BST_UNCHECKED);
        ClickButton(dialog, IDOK);
    });
    PressKeys({VK_CONTROL, 'F'});
    EXPECT_TRUE(shownChecked);
    EXPECT_TRUE(SaysOnly(L"1行2文字"));

    // The fields hold at most 512 units.
    SetEditorText(L"abc");
    Search(L"検索", std::wstring(600, L'q'), IDOK);
    EXPECT_EQ(CurrentSettings().findTerm, std::wstring(512, L'q'));

    // The jump offers the lines around the caret.
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

    ClearSpeechLog();
    SetEditorText(L"xx\rabc\rabc");
    Search(L"正規表現検索", L"^abc", IDOK);
    EXPECT_TRUE(SaysOnly(L"2行1文字"));
    PressKeys({VK_F3});
    EXPECT_TRUE(SaysOnly(L"3行1文字"));
    PressKeys({VK_SHIFT, VK_F3});
    EXPECT_TRUE(SaysOnly(L"2行1文字"));
    CurrentEditor().PlaceCaret(4);  // inside the first hit
    PressKeys({VK_SHIFT, VK_F3});
    EXPECT_TRUE(SaysOnly(L"見つかりませんでした"));

    // A plain find ends the regex mode again.
    CurrentEditor().PlaceCaret(0);
    Search(L"検索", L"^abc", IDOK);
    EXPECT_TRUE(SaysOnly(L"見つかりませんでした"));

    SetEditorText(L"a1b22c333");
    Search(L"正規表現置換", L"[0-9]+", IDC_REGEX_REPLACE_ALL, L"-");
    ExpectReplaced(L"3件置換しました", L"a-b-c-", 6);
    SetEditorText(L"x7y8");
    CurrentEditor().PlaceCaret(1);
    Search(L"正規表現置換", L"([0-9])", IDOK, L"$1");
    ExpectReplaced(L"1件置換しました", L"x$1y8", 3);
    EXPECT_EQ(CurrentSettings().regexReplaceWith, L"$1");
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::RegexReplacements)[0], L"$1");

    SetEditorText(L"((");
    Search(L"正規表現検索", L"(", IDOK);
    EXPECT_TRUE(SaysOnly(L"見つかりませんでした"));
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::RegexFindPatterns)[0], L"(");
    Search(L"正規表現置換", L"(", IDC_REGEX_REPLACE_ALL, L"x");
    ExpectReplaced(L"見つかりませんでした", L"((", 0);
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::RegexReplacePatterns)[0], L"(");

    SetEditorText(L"abcabc");
    CurrentEditor().PlaceCaret(3);
    Search(L"置換", L"abc", IDOK, L"X");
    ExpectReplaced(L"1件置換しました", L"abcX", 4);
    EXPECT_TRUE(CurrentEditor().CanUndo());
    Search(L"置換", L"abc", IDOK, L"X");
    ExpectReplaced(L"見つかりませんでした", L"abcX", 4);

    SetEditorText(L"a\ra a");
    CurrentEditor().PlaceCaret(2);
    Search(L"置換", L"A", IDC_REPLACE_ALL, L"b");
    ExpectReplaced(L"2件置換しました", L"a\rb b", 5);

    SetEditorText(L"abcabc");
    Search(L"置換", L"b", IDC_REPLACE_ALL, L"");
    ExpectReplaced(L"2件置換しました", L"acac", 3);
    // An empty replacement is not remembered.
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::Replacements)[0], L"b");
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::ReplaceTerms)[0], L"b");

    SetEditorText(L"one two one");
    const Editor before = CurrentEditor();
    before.ReplaceSelection(L"A");
    before.SetModified(false);
    before.Select(0, 1);
    Search(L"置換", L"one", IDC_REPLACE_ALL, L"1");
    EXPECT_TRUE(WaitForSpeech(L"2件置換しました", 2000));
    EXPECT_TRUE(CurrentEditor().IsModified());

    // An edit made after it is undone first, by the control itself.
    CurrentEditor().PlaceCaret(2);
    PressKeys({'X'});
    ClearSpeechLog();
    PressKeys({VK_CONTROL, 'Z'});
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
    EXPECT_TRUE(NothingHeard());

    // The menu's undo, after a save in between: the text brought back is not the saved one.
    CurrentEditor().PlaceCaret(0);
    Search(L"置換", L"two", IDC_REPLACE_ALL, L"2");
    EXPECT_TRUE(WaitForSpeech(L"1件置換しました", 2000));
    CurrentEditor().SetModified(false);
    SendCommand(kCmdUndo);
    EXPECT_EQ(CurrentEditor().EditorText(), L"Aone two one");
    EXPECT_TRUE(CurrentEditor().IsModified());

    // An empty term is refused, and the dialog stays open.
    SetEditorText(L"abc");
    std::wstring boxText;
    bool stillOpen = false;
    AnswerDialog(L"置換", [&](HWND dialog) {
        AnswerDialog(L"入力エラー", [&](HWND box) {
            boxText = DialogItemText(box, 0xFFFF);
            SendMessageW(box, WM_COMMAND, IDOK, 0);
        });
        SetDlgItemTextW(dialog, IDC_REPLACE_TERM, L"");
        ClickButton(dialog, IDC_REPLACE_ALL);
        stillOpen = IsWindow(dialog) && IsWindowVisible(dialog);
        ClickButton(dialog, IDCANCEL);
    });
    PressKeys({VK_CONTROL, 'H'});
    EXPECT_EQ(boxText, L"検索語句が入力されていません");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(CurrentEditor().EditorText(), L"abc");
    EXPECT_FALSE(CurrentEditor().IsModified());

    ClearSpeechLog();
    AddToSearchHistory(SearchHistoryKind::ReplaceTerms, L"old");
    AddToSearchHistory(SearchHistoryKind::Replacements, L"new");
    std::wstring termBefore, termAfter, replacementAfter;
    AnswerDialog(L"置換", [&](HWND dialog) {
        termBefore = DialogItemText(dialog, IDC_REPLACE_TERM);
        ClickButton(dialog, IDC_REPLACE_CLEAR_HISTORY);
        termAfter = DialogItemText(dialog, IDC_REPLACE_TERM);
        replacementAfter = DialogItemText(dialog, IDC_REPLACE_WITH);
        ClickButton(dialog, IDCANCEL);
    });
    PressKeys({VK_CONTROL, 'H'});
    EXPECT_EQ(termBefore, L"old");
    EXPECT_EQ(termAfter, L"");
    EXPECT_EQ(replacementAfter, L"");
    EXPECT_TRUE(SaysOnly(L"削除しました"));
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::ReplaceTerms), SearchHistory{});
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::Replacements), SearchHistory{});

    // A replace all past the editor's limit is refused and the text kept.
    text.clear();
    for (int line = 0; line < 210; ++line) text += std::wstring(1000, L'a') + L'\r';
    SetEditorText(text);
    const std::wstring replacement(512, L'b');
    Search(L"置換", L"a", IDC_REPLACE_ALL, replacement.c_str());
    EXPECT_TRUE(WaitForSpeech(L"テキストが長くなりすぎるため置換できませんでした", 5000));
    EXPECT_EQ(CurrentEditor().EditorText(), text);
    EXPECT_FALSE(CurrentEditor().IsModified());

    // The histories: an equal term moves to the front; a new one drops the oldest.
    SearchHistory history = Numbered(10);
    MoveToFront(history, L"t4");
    EXPECT_EQ(history, (SearchHistory{L"t4", L"t0", L"t1", L"t2", L"t3", L"t5", L"t6", L"t7", L"t8", L"t9"}));
    history = Numbered(10);
    MoveToFront(history, L"T0");  // compared case-sensitively: a new term
    EXPECT_EQ(history, (SearchHistory{L"T0", L"t0", L"t1", L"t2", L"t3", L"t4", L"t5", L"t6", L"t7", L"t8"}));

    ClearDataFolder();
    const SearchHistory terms{L" abc ", L"\"x\"", L"'y'", L"\"", L"a=b;c", L"検索語句", L"\tz", L"x'",
                              std::wstring(512, L'\u3042'), L""};
    ASSERT_TRUE(SaveSearchHistory(SearchHistoryKind::RegexReplacements, terms));
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::RegexReplacements), terms);
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::FindTerms), SearchHistory{});

    const std::string bytes = FileBytes(DataFolder() + L"\\Find.log");
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE"));
    const std::string section("[\0F\0i\0n\0d\0\x35\0]\0", 14);
    EXPECT_NE(bytes.find(section), std::string::npos);

    ClearDataFolder();
    const ScratchFolder legacy(L"orinda-legacy-find");
    // 検索 in Shift_JIS (code page 932).
    WriteTestFile(legacy.File(L"Find.log"),
                  "[Find0]\r\nFindString0=\x8C\x9F\x8D\xF5\r\nFindString1=abc\r\n[Find4]\r\nFindString0=^x$\r\n");
    MigrateLegacySearchHistory(legacy.Path());

    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::FindTerms), (SearchHistory{L"検索", L"abc"}));
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::RegexReplacePatterns)[0], L"^x$");

    // A later start keeps the terms used since.
    AddToSearchHistory(SearchHistoryKind::FindTerms, L"mine");
    MigrateLegacySearchHistory(legacy.Path());
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::FindTerms)[0], L"mine");
}

}  // namespace
