#include "document/file_commands.h"

#include "core/editor_control.h"
#include "core/settings.h"
#include "document/document_io.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "document/file_dialogs.h"
#include "document/save_question.h"
#include "lists/favourites.h"
#include "lists/file_history.h"
#include "lists/path_list_dialog.h"
#include "speech/speech.h"

namespace {

void SaveAsWithEncoding(HWND owner, int codePage) {
    const SaveOutcome outcome = SaveThroughDialog(owner, codePage);
    if (outcome == SaveOutcome::kFailed) SpeakSaveFailure();
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
    if (!CanSaveInPlace()) {
        SaveAsCommand(mainWindow, lParam);
        return;
    }
    if (SaveDocumentInPlace()) CurrentEditor().SetModified(false);
    else SpeakSaveFailure();
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

void AddToFavouritesCommand(HWND, LPARAM) {
    AddToFavourites(DocumentPath());
}

void OpenFromFavouritesCommand(HWND mainWindow, LPARAM) {
    std::wstring path;
    if (ChooseFromFavourites(mainWindow, path)) OpenChosenDocument(mainWindow, path);
}

void InsertFileCommand(HWND mainWindow, LPARAM) {
    if (RefuseWhileLocked()) return;
    std::wstring path;
    if (!AskFileToOpen(mainWindow, InsertPath(), path)) return;
    SetInsertPath(path);
    const ReadResult result = InsertFile(path);
    if (result == ReadResult::kTooLarge) {
        Speak(L"テキストが長くなりすぎるため挿入できませんでした", kAnswerDelayMs);
        return;
    }
    if (result != ReadResult::kDone) {
        SpeakReadFailure(result);
        return;
    }
    Speak(L"挿入しました", kAnswerDelayMs);
    SpeakCaretPosition(CurrentEditor());
}

void ReloadWithEncodingCommand(HWND mainWindow, LPARAM) {
    if (DocumentPath().empty()) {
        Speak(L"ファイルはロードされていません", kAnswerDelayMs);
        return;
    }
    int codePage = kUtf8;
    if (!AskEncoding(mainWindow, codePage) || !ConfirmDiscard(mainWindow)) return;
    const std::wstring path = DocumentPath();
    const ReadResult result = LoadDocument(path, codePage);
    if (result == ReadResult::kDone) RestoreRememberedCaret(path);
    else SpeakReadFailure(result);
}
