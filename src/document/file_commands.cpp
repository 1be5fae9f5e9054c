#include "document/file_commands.h"

#include "core/editor_control.h"
#include "core/settings.h"
#include "document/document_io.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "document/file_dialogs.h"
#include "document/save_question.h"
#include "lists/file_history.h"
#include "lists/path_list_dialog.h"
#include "speech/speech.h"

namespace {

void SaveAsWithEncoding(HWND owner, int codePage) {
    const SaveOutcome outcome = SaveThroughDialog(owner, codePage);
    if (outcome == SaveOutcome::kFailed) SpeakAnswer(kCannotSaveMessage);
    if (outcome != SaveOutcome::kSaved) return;
    AddToHistory(DocumentPath());
    CurrentEditor().SetModified(false);
}

}  // namespace

void RestoreRememberedCaret(const std::wstring& path) {
    if (!CurrentSettings().restoreCaretFromHistory) return;
    const long caret = RememberedCaret(path);
    if (caret >= 0) CurrentEditor().PlaceCaret(caret);
}

void OpenChosenDocument(HWND owner, const std::wstring& path) {
    if (!ConfirmDiscard(owner)) return;
    RecordCaretInHistory(DocumentPath());
    const ReadResult result = LoadDocument(path);
    if (result == ReadResult::kDone) RestoreRememberedCaret(path);
    else SpeakReadFailure(result);
}

void NewCommand(HWND mainWindow, LPARAM) {
    if (!ConfirmDiscard(mainWindow)) return;
    RecordCaretInHistory(DocumentPath());
    NewDocument();
}

void SaveCommand(HWND mainWindow, LPARAM lParam) {
    if (DocumentPath().empty()) {
        SaveAsCommand(mainWindow, lParam);
        return;
    }
    if (SaveDocumentInPlace()) CurrentEditor().SetModified(false);
    else SpeakAnswer(kCannotSaveMessage);
}

void SaveAsCommand(HWND mainWindow, LPARAM) {
    SaveAsWithEncoding(mainWindow, DocumentEncoding());
}

void SaveWithEncodingCommand(HWND mainWindow, LPARAM) {
    int codePage = kUtf8;
    if (AskEncoding(mainWindow, codePage)) SaveAsWithEncoding(mainWindow, codePage);
}

void OpenCommand(HWND mainWindow, LPARAM) {
    std::wstring path;
    if (AskFileToOpen(mainWindow, DocumentPath(), path)) OpenChosenDocument(mainWindow, path);
}

void OpenFromHistoryCommand(HWND mainWindow, LPARAM) {
    std::wstring path;
    if (ChooseFromHistory(mainWindow, path)) OpenChosenDocument(mainWindow, path);
}

void InsertFileCommand(HWND mainWindow, LPARAM) {
    if (RefuseWhileLocked()) return;
    std::wstring path;
    if (!AskFileToOpen(mainWindow, InsertPath(), path)) return;
    SetInsertPath(path);
    const ReadResult result = InsertFile(path);
    if (result == ReadResult::kTooLarge) {
        SpeakAnswer(L"テキストが長くなりすぎるため挿入できませんでした");
        return;
    }
    if (result != ReadResult::kDone) {
        SpeakReadFailure(result);
        return;
    }
    SpeakAnswer(L"挿入しました");
    SpeakCaretPosition(CurrentEditor());
}

void ReloadWithEncodingCommand(HWND mainWindow, LPARAM) {
    if (DocumentPath().empty()) {
        SpeakAnswer(L"ファイルはロードされていません");
        return;
    }
    int codePage = kUtf8;
    if (!AskEncoding(mainWindow, codePage) || !ConfirmDiscard(mainWindow)) return;
    const std::wstring path = DocumentPath();
    const ReadResult result = LoadDocument(path, codePage);
    if (result == ReadResult::kDone) RestoreRememberedCaret(path);
    else SpeakReadFailure(result);
}
