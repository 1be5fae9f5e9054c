#include "document/save_question.h"

#include "core/editor_control.h"
#include "core/within_memory.h"
#include "document/document_io.h"
#include "document/document_state.h"
#include "lists/file_history.h"

namespace {

bool IsLineBreak(wchar_t unit) {
    return unit == L'\r' || unit == L'\n';
}

// Equal texts in which any line-break form (CR LF, CR, LF) counts as one
// break: the control stores every break as CR while files may use any form.
bool SameTextIgnoringBreakForm(const std::wstring& a, const std::wstring& b) {
    size_t i = 0, k = 0;
    while (i < a.size() && k < b.size()) {
        if (IsLineBreak(a[i]) && IsLineBreak(b[k])) {
            i += (a[i] == L'\r' && i + 1 < a.size() && a[i + 1] == L'\n') ? 2 : 1;
            k += (b[k] == L'\r' && k + 1 < b.size() && b[k + 1] == L'\n') ? 2 : 1;
        } else if (a[i++] != b[k++]) {
            return false;
        }
    }
    return i == a.size() && k == b.size();
}

// Whether the text is the one last loaded or saved; when the two cannot be
// compared it counts as changed, so that the user is asked.
bool SameAsLoadedText(const Editor& editor) {
    bool same = false;
    RunWithinMemory([&] { same = SameTextIgnoringBreakForm(editor.Text(), LoadedText()); });
    return same;
}

// The save that the answer Yes asks for; says why when it fails.
bool SaveForQuestion(HWND owner) {
    RecordCaretInHistory(DocumentPath());
    if (!CanSaveInPlace()) {
        const SaveOutcome outcome = SaveThroughDialog(owner, DocumentEncoding());
        if (outcome == SaveOutcome::kFailed) SpeakSaveFailure();
        return outcome == SaveOutcome::kSaved;
    }
    if (SaveDocumentInPlace()) return true;
    SpeakSaveFailure();
    return false;
}

}  // namespace

bool ConfirmDiscard(HWND owner) {
    const Editor editor = CurrentEditor();
    if (!editor.IsModified()) return true;
    if (SameAsLoadedText(editor)) return true;
    // The text stays modified until the answer: a backup request or a log-off
    // meanwhile still saves it.
    const std::wstring question = DocumentName() + L"の内容は変更されています\n変更を保存しますか？";
    const int answer = MessageBoxW(owner, question.c_str(), L"保存確認", MB_YESNOCANCEL | MB_ICONQUESTION);
    const bool saved = answer == IDYES && SaveForQuestion(owner);
    if (saved) editor.SetModified(false);
    return answer == IDNO || saved;
}
