#include "document/document_io.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "core/editor_control.h"
#include "core/file_io.h"
#include "core/paths.h"
#include "core/safe_write.h"
#include "core/whole_text.h"
#include "core/within_memory.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "document/file_dialogs.h"
#include "document/recovery.h"
#include "lists/file_history.h"
#include "speech/speech.h"

namespace {

const wchar_t kTooLargeMessage[] = L"ファイルが大きすぎるため読み込めません";
const wchar_t kCannotOpenMessage[] = L"ファイルを開けませんでした";

void SpeakAnswer(const wchar_t* text) {
    Speak(text, kAnswerDelayMs);
}

// The decoded text of a file, at most `maxBytes` of it, for an editor that
// keeps `unitsBefore` units in `linesBefore` lines beside it (one line of
// which the text continues).
ReadResult ReadText(const std::wstring& path, size_t maxBytes, size_t unitsBefore, size_t linesBefore, int codePage,
                    std::wstring& text, int& usedCodePage, bool* cutAtNul = nullptr) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!FitsPathBuffer(path) || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return ReadResult::kUnreadable;
    const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    // No encoding takes more than four bytes per unit: a file whose smallest
    // possible text does not fit is refused before it is read.
    if (!EditorCanHold(unitsBefore + std::min<unsigned long long>(size, maxBytes) / 4, linesBefore))
        return ReadResult::kTooLarge;
    if (size > kLongReadBytes) SpeakProgressCue(L"読み込んでいます");
    bool read = true;
    const bool fitted = RunWithinMemory([&] {
        std::string bytes;
        read = ReadFileBytes(path, maxBytes, bytes);
        if (!read) return;
        const auto* bytesRead = reinterpret_cast<const unsigned char*>(bytes.data());
        usedCodePage = codePage != 0 ? codePage : DetectEncoding(bytesRead, bytes.size());
        text = DecodeBytes(bytesRead, bytes.size(), usedCodePage, cutAtNul);
    });
    if (!fitted) return ReadResult::kTooLarge;
    if (!read) return ReadResult::kUnreadable;
    return EditorCanHold(unitsBefore + text.size(), linesBefore + CountLines(text) - 1) ? ReadResult::kDone
                                                                                        : ReadResult::kTooLarge;
}

// An empty untitled document; the editor is empty already.
void BecomeUntitled() {
    SetDocumentPath(L"");
    SetDocumentEncoding(kUtf8);
    SetLoadedText(L"");
    SetEditable(true);
    SetLockToggleAllowed(true);
    ShowUntitledTitle();
}

// The editor text written to `path` in `codePage`, or nothing when the file
// was not written; running out of memory is a failed write like any other.
std::optional<std::wstring> WriteDocument(const std::wstring& path, int codePage) {
    std::optional<std::wstring> written;
    RunWithinMemory([&] {
        const Editor editor = CurrentEditor();
        std::wstring text = editor.Text();
        // A failed read of a control that holds text must not become an empty file.
        if (text.empty() && !editor.IsEmpty()) return;
        const std::optional<std::string> bytes = EncodeText(text, codePage);
        if (bytes && WriteFileSafely(path, *bytes)) written = std::move(text);
    });
    return written;
}

// A save the user hears about; a long one says first that it has started.
void CueLongSave() {
    if (static_cast<size_t>(CurrentEditor().TextLength()) > kLongWorkUnits) SpeakProgressCue(L"保存しています");
}

void AnnounceSaved() {
    ShowDocumentTitle();
    SpeakAnswer(L"保存しました");
}

}  // namespace

void SpeakSaveFailure() {
    SpeakAnswer(L"保存できませんでした");
}

void SpeakReadFailure(ReadResult result) {
    if (result == ReadResult::kTooLarge) SpeakAnswer(kTooLargeMessage);
    else if (result == ReadResult::kUnreadable) SpeakAnswer(kCannotOpenMessage);
}

ReadResult LoadDocument(const std::wstring& path, int codePage) {
    std::wstring text;
    int usedCodePage = kUtf8;
    bool cutAtNul = false;
    const ReadResult result = ReadText(path, kMaxDocumentUnits, 0, 1, codePage, text, usedCodePage, &cutAtNul);
    if (result != ReadResult::kDone) return result;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    // The text before a NUL is shown locked, and saves go elsewhere, so that
    // nothing the file holds after it is lost.
    const bool locked = readOnly || cutAtNul;
    if (!PutDocumentText(text, locked)) {
        BecomeUntitled();
        return ReadResult::kUnreadable;
    }
    SetDocumentPath(path);
    SetCutShortOfItsFile(cutAtNul);
    SetDocumentEncoding(usedCodePage);
    SetLoadedText(std::move(text));
    SetEditable(!locked);
    SetLockToggleAllowed(!readOnly);
    ShowDocumentTitle();
    RemoveRecoveryCopy();
    AddToHistory(path);
    // Of answers given within one delay only the last is heard: the reason
    // for the lock is the one that must not be missed.
    SpeakAnswer(L"読み込みました");
    if (readOnly) SpeakAnswer(L"読み取り専用ファイル");
    if (cutAtNul) SpeakAnswer(L"NUL文字以降は読み込めないため編集禁止");
    return ReadResult::kDone;
}

bool SaveDocumentTo(const std::wstring& path, SaveAnswer answer) {
    if (answer == SaveAnswer::kSpoken) CueLongSave();
    if (!WriteDocument(path, DocumentEncoding())) return false;
    if (answer == SaveAnswer::kSpoken) AnnounceSaved();
    return true;
}

// A save of the document itself: what was written becomes the text the save
// question compares with.
bool SaveDocumentInPlace() {
    CueLongSave();
    std::optional<std::wstring> written = WriteDocument(DocumentPath(), DocumentEncoding());
    if (!written) return false;
    SetLoadedText(std::move(*written));
    RemoveRecoveryCopy();
    AnnounceSaved();
    return true;
}

// Save As: the dialog, then the save in `codePage`; the chosen path and the
// encoding become the document's only when the file was written.
SaveOutcome SaveThroughDialog(HWND owner, int codePage) {
    std::wstring path;
    if (!AskFileToSave(owner, path)) return SaveOutcome::kCancelled;
    CueLongSave();
    std::optional<std::wstring> written = WriteDocument(path, codePage);
    if (!written) return SaveOutcome::kFailed;
    SetDocumentPath(path);
    SetDocumentEncoding(codePage);
    SetLoadedText(std::move(*written));
    RemoveRecoveryCopy();
    AnnounceSaved();
    return SaveOutcome::kSaved;
}

void NewDocument() {
    PutDocumentText(L"", false);
    BecomeUntitled();
    RemoveRecoveryCopy();
    SpeakAnswer(L"新規");
}

ReadResult InsertFile(const std::wstring& path) {
    const Editor editor = CurrentEditor();
    const size_t length = static_cast<size_t>(std::max(0, GetWindowTextLengthW(editor.Handle())));
    std::wstring text;
    int usedCodePage = kUtf8;
    // The whole file is read: a text cut to the room left would be inserted as if it were all.
    const ReadResult result = ReadText(path, SIZE_MAX, length, static_cast<size_t>(editor.LineCount()), 0, text,
                                       usedCodePage);
    if (result != ReadResult::kDone) return result;
    const Selection selection = editor.GetSelection();
    if (!selection.IsEmpty()) editor.PlaceCaret(selection.end);
    editor.ReplaceSelection(text);
    return ReadResult::kDone;
}
