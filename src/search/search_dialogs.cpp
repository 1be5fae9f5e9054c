#include "search/search_dialogs.h"

#include "core/input_dialog.h"
#include "core/input_method.h"
#include "core/settings.h"
#include "core/window_text.h"
#include "resources/search_ids.h"
#include "search/search_history.h"
#include "speech/speech.h"

namespace {

enum class InputMethodOnOpen { OpenWhenChosen, TurnOff };

// What tells the four dialogs apart. The replacement and match-case controls
// are 0 where a dialog has none.
struct DialogLayout {
    const wchar_t* templateName;
    SearchHistoryKind termKind;
    SearchHistoryKind replacementKind;
    int replacementCombo;
    int matchCaseBox;
    int replaceAllButton;
    int clearHistoryButton;
    InputMethodOnOpen inputMethod;
};

// Fields in order: template, term history, replacement history, replacement
// combo, match-case box, replace-all button, clear-history button, IME.
const DialogLayout kFindLayout{
    L"FindDialog", SearchHistoryKind::FindTerms, SearchHistoryKind::FindTerms, 0,
    IDC_FIND_MATCH_CASE, 0, IDC_FIND_CLEAR_HISTORY, InputMethodOnOpen::OpenWhenChosen};
const DialogLayout kReplaceLayout{
    L"ReplaceDialog", SearchHistoryKind::ReplaceTerms, SearchHistoryKind::Replacements, IDC_REPLACE_WITH,
    IDC_REPLACE_MATCH_CASE, IDC_REPLACE_ALL, IDC_REPLACE_CLEAR_HISTORY, InputMethodOnOpen::OpenWhenChosen};
// Patterns are typed in half-width characters: the IME is turned off.
const DialogLayout kRegexFindLayout{
    L"FindDialog2", SearchHistoryKind::RegexFindPatterns, SearchHistoryKind::RegexFindPatterns, 0,
    0, 0, IDC_REGEX_FIND_CLEAR_HISTORY, InputMethodOnOpen::TurnOff};
const DialogLayout kRegexReplaceLayout{
    L"ReplaceDialog2", SearchHistoryKind::RegexReplacePatterns, SearchHistoryKind::RegexReplacements,
    IDC_REGEX_REPLACE_WITH, 0, IDC_REGEX_REPLACE_ALL, IDC_REGEX_REPLACE_CLEAR_HISTORY, InputMethodOnOpen::TurnOff};

// The term field has the same ID in every dialog.
constexpr int kTermCombo = IDC_FIND_TERM;
static_assert(IDC_REPLACE_TERM == kTermCombo && IDC_REGEX_FIND_PATTERN == kTermCombo &&
                  IDC_REGEX_REPLACE_PATTERN == kTermCombo,
              "the four dialogs share the term field's ID");

struct DialogState {
    const DialogLayout* layout;
    ReplaceRequest* request;
};

// The entries up to the first empty one, the newest standing in the field.
void FillCombo(HWND combo, SearchHistoryKind kind) {
    SendMessageW(combo, CB_LIMITTEXT, kMaxSearchTermUnits, 0);
    for (const std::wstring& entry : LoadSearchHistory(kind)) {
        if (entry.empty()) break;
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

void EmptyCombo(HWND combo) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    SetWindowTextW(combo, L"");
}

std::wstring FieldText(HWND combo) {
    return LimitSearchTerm(WindowText(combo));
}

void InitDialog(HWND dialog, const DialogState& state) {
    const DialogLayout& layout = *state.layout;
    const HWND termCombo = GetDlgItem(dialog, kTermCombo);
    const bool openInputMethod = CurrentSettings().inputMethodInSearchDialogs == 1;
    FillCombo(termCombo, layout.termKind);
    if (layout.inputMethod == InputMethodOnOpen::TurnOff)
        SetComboBoxInputMethodOpen(termCombo, false);
    else if (openInputMethod)
        SetComboBoxInputMethodOpen(termCombo, true);
    if (layout.replacementCombo) {
        const HWND replacementCombo = GetDlgItem(dialog, layout.replacementCombo);
        FillCombo(replacementCombo, layout.replacementKind);
        if (layout.inputMethod == InputMethodOnOpen::OpenWhenChosen && openInputMethod)
            SetComboBoxInputMethodOpen(replacementCombo, true);
    }
    if (layout.matchCaseBox)
        CheckDlgButton(dialog, layout.matchCaseBox, state.request->matchCase ? BST_CHECKED : BST_UNCHECKED);
}

// False (and the dialog stays open) when the term field is empty.
bool Accept(HWND dialog, const DialogState& state, bool replaceAll) {
    const DialogLayout& layout = *state.layout;
    const HWND termCombo = GetDlgItem(dialog, kTermCombo);
    const std::wstring term = FieldText(termCombo);
    if (term.empty()) {
        MessageBoxW(dialog, L"検索語句が入力されていません", L"入力エラー", MB_OK | MB_ICONINFORMATION);
        // Through the dialog manager, so that the default button is set right again.
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(termCombo), TRUE);
        return false;
    }
    ReplaceRequest& request = *state.request;
    request.term = term;
    request.replaceAll = replaceAll;
    if (layout.replacementCombo) request.replacement = FieldText(GetDlgItem(dialog, layout.replacementCombo));
    if (layout.matchCaseBox) request.matchCase = IsDlgButtonChecked(dialog, layout.matchCaseBox) == BST_CHECKED;
    return true;
}

void ClearHistory(HWND dialog, const DialogLayout& layout) {
    ClearSearchHistory(layout.termKind);
    EmptyCombo(GetDlgItem(dialog, kTermCombo));
    if (layout.replacementCombo) {
        ClearSearchHistory(layout.replacementKind);
        EmptyCombo(GetDlgItem(dialog, layout.replacementCombo));
    }
    Speak(L"削除しました", kAtOnce);
}

bool RunSearchDialog(HWND owner, const DialogLayout& layout, ReplaceRequest& request) {
    const DialogState state{&layout, &request};
    DialogHandlers handlers;
    handlers.fill = [&state](HWND dialog) { InitDialog(dialog, state); };
    handlers.accept = [&state](HWND dialog, int button) { return Accept(dialog, state, button != IDOK); };
    handlers.acceptButton = layout.replaceAllButton;
    handlers.command = [&layout](HWND dialog, int id) {
        if (id != layout.clearHistoryButton) return false;
        ClearHistory(dialog, layout);
        return true;
    };
    return RunDialog(owner, layout.templateName, handlers);
}

}  // namespace

bool AskFind(HWND owner, SearchKind kind, FindRequest& request) {
    ReplaceRequest collected;
    collected.matchCase = request.matchCase;
    if (!RunSearchDialog(owner, kind == SearchKind::Plain ? kFindLayout : kRegexFindLayout, collected)) return false;
    request.term = collected.term;
    request.matchCase = collected.matchCase;
    return true;
}

bool AskReplace(HWND owner, SearchKind kind, ReplaceRequest& request) {
    return RunSearchDialog(owner, kind == SearchKind::Plain ? kReplaceLayout : kRegexReplaceLayout, request);
}
