#include "search/search_commands.h"

#include <algorithm>

#include "core/editor.h"
#include "core/editor_control.h"
#include "core/settings.h"
#include "core/whole_text.h"
#include "core/within_memory.h"
#include "editing/text_commands.h"
#include "document/document_state.h"
#include "search/plain_replace.h"
#include "search/regex_search.h"
#include "search/search_dialogs.h"
#include "search/search_history.h"
#include "speech/speech.h"

namespace {

// Held for the life of the process only; every start begins with them clear.
bool g_findMatchCase = false;
bool g_replaceMatchCase = false;
// What find next and find previous repeat: the last find was a regex find.
bool g_regexMode = false;

void SpeakNotFound() {
    Speak(L"見つかりませんでした", kAnswerDelayMs);
}

// A hit is never read out: the caret goes to its start, which is reported.
void GoToHit(const Editor& editor, long position) {
    if (position < 0) {
        SpeakNotFound();
        return;
    }
    editor.PlaceCaret(position);
    SpeakCaretPosition(editor);
}

long CaretStart(const Editor& editor) {
    return editor.GetSelection().start;
}

// A match at the caret is passed over, so repeating walks from hit to hit.
void FindPlainAfterCaret() {
    const Editor editor = CurrentEditor();
    GoToHit(editor, editor.FindForward(CaretStart(editor) + 1, CurrentSettings().findTerm, g_findMatchCase));
}

void FindRegexAfterCaret() {
    const Editor editor = CurrentEditor();
    const RegexHit hit =
        RegexFindForward(PrepareRegex(CurrentSettings().regexFindPattern), editor.EditorText(), CaretStart(editor) + 1);
    GoToHit(editor, hit.position);
}

// The nearest match that begins before the caret. Controls differ in whether
// a backward search counts matches by their start or by their end, so ask
// for those ending within a term's length of the caret and check the start.
long FindBeforeCaret(const Editor& editor, long caret, const std::wstring& term, bool matchCase) {
    const long length = static_cast<long>(term.size());
    const long textLength = editor.TextLength();
    long position = editor.FindBackward(std::min(caret - 1 + length, textLength), term, matchCase);
    if (position >= caret) position = editor.FindBackward(std::max(caret - 1, 0L), term, matchCase);
    return position < caret ? position : -1;
}

void RememberReplaceTerms(SearchHistoryKind termKind, SearchHistoryKind replacementKind,
                          const ReplaceRequest& request) {
    AddToSearchHistory(termKind, request.term);
    if (!request.replacement.empty()) AddToSearchHistory(replacementKind, request.replacement);
}

// One undoable edit in place of the hit; the caret goes right after it.
void ReplaceOne(const Editor& editor, long start, long position, long length, const std::wstring& replacement) {
    if (position < 0) {
        editor.PlaceCaret(start);
        SpeakNotFound();
        return;
    }
    editor.Select(position, position + length);
    editor.ReplaceSelection(replacement);
    editor.PlaceCaret(position + static_cast<long>(replacement.size()));
    Speak(L"1件置換しました", kAnswerDelayMs);
}

// When nothing was replaced the text is left alone, so that it does not turn
// modified for nothing.
void FinishReplaceAll(const Editor& editor, const ReplaceAllResult& result) {
    if (result.count == 0) {
        editor.PlaceCaret(result.caret);
        SpeakNotFound();
        return;
    }
    const WholeTextChange change = ReplaceWholeText(result.text, result.caret);
    if (change == WholeTextChange::kDone) Speak(std::to_wstring(result.count) + L"件置換しました", kAnswerDelayMs);
    else SpeakChangeRefused(change, L"置換");
}

// Said as soon as the dialog is gone: remembering the terms comes before the
// work and takes a while too.
void CueLongReplaceAll(const ReplaceRequest& request) {
    if (request.replaceAll && static_cast<size_t>(CurrentEditor().TextLength()) > kLongWorkUnits)
        SpeakProgressCue(L"置換しています");
}

template <class BuildResult>
void ReplaceAll(const Editor& editor, BuildResult build) {
    // A result that would not fit in memory leaves the text as it was.
    if (!RunWithinMemory([&] { FinishReplaceAll(editor, build(editor.EditorText())); }))
        Speak(L"メモリが足りないため置換できませんでした", kAnswerDelayMs);
}

}  // namespace

void ResetSearchFlags() {
    g_findMatchCase = false;
    g_replaceMatchCase = false;
    g_regexMode = false;
}

void FindCommand(HWND mainWindow, LPARAM) {
    FindRequest request{CurrentSettings().findTerm, g_findMatchCase};
    if (!AskFind(mainWindow, SearchKind::Plain, request)) return;
    g_findMatchCase = request.matchCase;
    CurrentSettings().findTerm = request.term;
    AddToSearchHistory(SearchHistoryKind::FindTerms, request.term);
    g_regexMode = false;
    FindPlainAfterCaret();
}

void FindNextCommand(HWND mainWindow, LPARAM lParam) {
    if (g_regexMode)
        FindRegexAfterCaret();
    else if (CurrentSettings().findTerm.empty())
        FindCommand(mainWindow, lParam);
    else
        FindPlainAfterCaret();
}

void FindPreviousCommand(HWND, LPARAM) {
    const Editor editor = CurrentEditor();
    const long start = CaretStart(editor);
    if (g_regexMode) {
        GoToHit(editor,
                RegexFindBackward(PrepareRegex(CurrentSettings().regexFindPattern), editor.EditorText(), start));
        return;
    }
    const std::wstring& term = CurrentSettings().findTerm;
    if (term.empty()) return;
    GoToHit(editor, FindBeforeCaret(editor, start, term, g_findMatchCase));
}

void ReplaceCommand(HWND mainWindow, LPARAM) {
    if (RefuseWhileLocked()) return;
    Settings& settings = CurrentSettings();
    ReplaceRequest request{settings.replaceFindTerm, settings.replaceWith, g_replaceMatchCase, false};
    if (!AskReplace(mainWindow, SearchKind::Plain, request)) return;
    CueLongReplaceAll(request);
    g_replaceMatchCase = request.matchCase;
    settings.replaceFindTerm = request.term;
    settings.replaceWith = request.replacement;
    RememberReplaceTerms(SearchHistoryKind::ReplaceTerms, SearchHistoryKind::Replacements, request);

    const Editor editor = CurrentEditor();
    const long start = CaretStart(editor);
    if (!request.replaceAll) {
        // Unlike find, a match at the caret counts.
        const long position = editor.FindForward(start, request.term, request.matchCase);
        ReplaceOne(editor, start, position, static_cast<long>(request.term.size()), request.replacement);
        return;
    }
    ReplaceAll(editor, [&](const std::wstring& text) {
        return PlainReplaceAll(text, start, request.term, request.replacement, request.matchCase);
    });
}

void RegexFindCommand(HWND mainWindow, LPARAM) {
    FindRequest request{CurrentSettings().regexFindPattern, false};
    if (!AskFind(mainWindow, SearchKind::Regex, request)) return;
    CurrentSettings().regexFindPattern = request.term;
    AddToSearchHistory(SearchHistoryKind::RegexFindPatterns, request.term);
    g_regexMode = true;
    FindRegexAfterCaret();
}

void RegexReplaceCommand(HWND mainWindow, LPARAM) {
    if (RefuseWhileLocked()) return;
    Settings& settings = CurrentSettings();
    ReplaceRequest request{settings.regexReplacePattern, settings.regexReplaceWith, false, false};
    if (!AskReplace(mainWindow, SearchKind::Regex, request)) return;
    CueLongReplaceAll(request);
    settings.regexReplacePattern = request.term;
    settings.regexReplaceWith = request.replacement;
    RememberReplaceTerms(SearchHistoryKind::RegexReplacePatterns, SearchHistoryKind::RegexReplacements, request);

    const Editor editor = CurrentEditor();
    const long start = CaretStart(editor);
    // Compiled once for the whole command, however many searches it makes.
    const RegexPattern pattern = PrepareRegex(request.term);
    if (!request.replaceAll) {
        const RegexHit hit = RegexFindForward(pattern, editor.EditorText(), start);
        ReplaceOne(editor, start, hit.position, hit.length, request.replacement);
        return;
    }
    ReplaceAll(editor, [&](const std::wstring& text) {
        return RegexReplaceAll(pattern, text, start, request.replacement);
    });
}
