#include "document/file_commands.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <optional>

#include "app/editor_control.h"
#include "app/main_window.h"
#include "app/paths.h"
#include "app/settings.h"
#include "app/untitled_number.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "document/file_dialogs.h"
#include "document/safe_write.h"
#include "editing/position_report.h"
#include "editing/text_commands.h"
#include "lists/file_history.h"
#include "speech/speech.h"

namespace {

constexpr unsigned kAnswerDelayMs = 100;
// Measured: loading 8 million characters into Wine's rich-edit control took
// the process to a peak of 3.3 GB, about 430 bytes per character, and the
// control ends the process when an allocation fails. The real control needs
// a few bytes per character.
constexpr unsigned long long kWineControlBytesPerUnit = 450;
constexpr unsigned long long kWindowsControlBytesPerUnit = 8;

const wchar_t kTooLargeMessage[] = L"ファイルが大きすぎるため読み込めません";
const wchar_t kCannotOpenMessage[] = L"ファイルを開けませんでした";
const wchar_t kCannotSaveMessage[] = L"保存できませんでした";

bool RunsUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

void SpeakAnswer(const wchar_t* text) {
    Speak(text, kAnswerDelayMs);
}

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

// The decoded text of a file, at most `maxBytes` of it.
ReadResult ReadText(const std::wstring& path, size_t maxBytes, size_t unitsBefore, int codePage, std::wstring& text,
                    int& usedCodePage) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!FitsPathBuffer(path) || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return ReadResult::kUnreadable;
    const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    // No encoding takes more than four bytes per unit: a file whose smallest
    // possible text does not fit is refused before it is read.
    if (!EditorCanHold(unitsBefore + std::min<unsigned long long>(size, maxBytes) / 4)) return ReadResult::kTooLarge;
    try {
        std::string bytes;
        if (!ReadFileBytes(path, maxBytes, bytes)) return ReadResult::kUnreadable;
        const auto* bytesRead = reinterpret_cast<const unsigned char*>(bytes.data());
        usedCodePage = codePage != 0 ? codePage : DetectEncoding(bytesRead, bytes.size());
        text = DecodeBytes(bytesRead, bytes.size(), usedCodePage);
    } catch (const std::bad_alloc&) {
        return ReadResult::kTooLarge;
    }
    return EditorCanHold(unitsBefore + text.size()) ? ReadResult::kDone : ReadResult::kTooLarge;
}


// The editor text written to `path` in `codePage`, or nothing when the file
// was not written; running out of memory is a failed write like any other.
std::optional<std::wstring> WriteDocument(const std::wstring& path, int codePage) {
    try {
        const Editor editor = CurrentEditor();
        std::wstring text = editor.Text();
        // A failed read of a control that holds text must not become an empty file.
        if (text.empty() && !editor.IsEmpty()) return std::nullopt;
        const std::optional<std::string> bytes = EncodeText(text, codePage);
        if (!bytes || !WriteFileSafely(path, *bytes)) return std::nullopt;
        return text;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

void AnnounceSaved() {
    ShowDocumentTitle();
    SpeakAnswer(L"保存しました");
}

// A save of the document itself: what was written becomes the text the save
// question compares with.
bool SaveDocumentInPlace() {
    std::optional<std::wstring> written = WriteDocument(DocumentPath(), DocumentEncoding());
    if (!written) return false;
    SetLoadedText(std::move(*written));
    AnnounceSaved();
    return true;
}

// Whether the text is the one last loaded or saved; when the two cannot be
// compared it counts as changed, so that the user is asked.
bool SameAsLoadedText(const Editor& editor) {
    try {
        return SameTextIgnoringBreakForm(editor.Text(), LoadedText());
    } catch (const std::bad_alloc&) {
        return false;
    }
}

enum class SaveOutcome { kSaved, kFailed, kCancelled };

// Save As: the dialog, then the save in `codePage`; the chosen path and the
// encoding become the document's only when the file was written.
SaveOutcome SaveThroughDialog(HWND owner, int codePage) {
    std::wstring path;
    if (!AskFileToSave(owner, path)) return SaveOutcome::kCancelled;
    std::optional<std::wstring> written = WriteDocument(path, codePage);
    if (!written) return SaveOutcome::kFailed;
    SetDocumentPath(path);
    SetDocumentEncoding(codePage);
    SetLoadedText(std::move(*written));
    AnnounceSaved();
    return SaveOutcome::kSaved;
}

void SaveAsWithEncoding(HWND owner, int codePage) {
    const SaveOutcome outcome = SaveThroughDialog(owner, codePage);
    if (outcome == SaveOutcome::kFailed) SpeakAnswer(kCannotSaveMessage);
    if (outcome != SaveOutcome::kSaved) return;
    AddToHistory(DocumentPath());
    CurrentEditor().SetModified(false);
}

}  // namespace

void SpeakReadFailure(ReadResult result) {
    if (result == ReadResult::kTooLarge) SpeakAnswer(kTooLargeMessage);
    else if (result == ReadResult::kUnreadable) SpeakAnswer(kCannotOpenMessage);
}

bool EditorCanHold(size_t units) {
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (!GlobalMemoryStatusEx(&memory)) return units <= kMaxDocumentUnits;
    const unsigned long long perUnit = RunsUnderWine() ? kWineControlBytesPerUnit : kWindowsControlBytesPerUnit;
    const unsigned long long available = std::min(memory.ullAvailVirtual, memory.ullAvailPageFile);
    return units <= kMaxDocumentUnits && static_cast<unsigned long long>(units) * perUnit < available;
}

void ShowDocumentTitle() {
    const std::wstring title = DocumentPath().empty() ? UntitledTitle(UntitledNumber())
                                                      : DocumentFileName() + L" - オリンダ";
    SetWindowTextW(MainWindow(), title.c_str());
}

ReadResult LoadDocument(const std::wstring& path, int codePage) {
    std::wstring text;
    int usedCodePage = kUtf8;
    const ReadResult result = ReadText(path, kMaxDocumentUnits, 0, codePage, text, usedCodePage);
    if (result != ReadResult::kDone) return result;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    const Editor editor = CurrentEditor();
    SetDocumentPath(path);
    SetDocumentEncoding(usedCodePage);
    // Set before the text arrives: switching it afterwards costs a pass over the text.
    editor.SetReadOnly(readOnly);
    editor.SetText(text);
    SetLoadedText(std::move(text));
    SetEditable(!readOnly);
    SetLockToggleAllowed(!readOnly);
    ShowDocumentTitle();
    AddToHistory(path);
    // Of answers given within one delay only the last is heard: the
    // read-only state is the one that must not be missed.
    SpeakAnswer(L"読み込みました");
    if (readOnly) SpeakAnswer(L"読み取り専用ファイル");
    editor.SetModified(false);
    return ReadResult::kDone;
}

bool SaveDocumentTo(const std::wstring& path) {
    if (!WriteDocument(path, DocumentEncoding())) return false;
    AnnounceSaved();
    return true;
}

bool ConfirmDiscard(HWND owner) {
    const Editor editor = CurrentEditor();
    if (!editor.IsModified()) return true;
    if (SameAsLoadedText(editor)) return true;
    editor.SetModified(false);
    const std::wstring name =
        DocumentPath().empty() ? L"無題" + std::to_wstring(UntitledNumber()) : DocumentFileName();
    const std::wstring question = name + L"の内容は変更されています\n変更を保存しますか？";
    const int answer = MessageBoxW(owner, question.c_str(), L"保存確認", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDNO) return true;
    if (answer == IDYES) {
        RecordCaretInHistory(DocumentPath());
        if (DocumentPath().empty()) {
            const SaveOutcome outcome = SaveThroughDialog(owner, DocumentEncoding());
            if (outcome == SaveOutcome::kSaved) return true;
            if (outcome == SaveOutcome::kFailed) SpeakAnswer(kCannotSaveMessage);
        } else {
            if (SaveDocumentInPlace()) return true;
            SpeakAnswer(kCannotSaveMessage);
        }
    }
    editor.SetModified(true);
    return false;
}

void NewDocument() {
    const Editor editor = CurrentEditor();
    editor.SetReadOnly(false);
    editor.SetText(L"");
    SetDocumentPath(L"");
    SetDocumentEncoding(kUtf8);
    SetLoadedText(L"");
    editor.SetModified(false);
    SetEditable(true);
    SetLockToggleAllowed(true);
    SpeakAnswer(L"新規");
    ShowUntitledTitle();
}

ReadResult InsertFile(const std::wstring& path) {
    const Editor editor = CurrentEditor();
    const size_t length = static_cast<size_t>(std::max(0, GetWindowTextLengthW(editor.Handle())));
    const size_t room = length < kMaxDocumentUnits ? kMaxDocumentUnits - length : 0;
    std::wstring text;
    int usedCodePage = kUtf8;
    const ReadResult result = ReadText(path, room, length, 0, text, usedCodePage);
    if (result != ReadResult::kDone) return result;
    const Selection selection = editor.GetSelection();
    if (!selection.IsEmpty()) editor.PlaceCaret(selection.end);
    editor.ReplaceSelection(text);
    return ReadResult::kDone;
}

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
