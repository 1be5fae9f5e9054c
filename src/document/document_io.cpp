#include "document/document_io.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <optional>

#include "core/editor_control.h"
#include "core/file_io.h"
#include "core/paths.h"
#include "core/safe_write.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "document/file_dialogs.h"
#include "lists/file_history.h"
#include "speech/speech.h"

namespace {

const wchar_t kTooLargeMessage[] = L"ファイルが大きすぎるため読み込めません";
const wchar_t kCannotOpenMessage[] = L"ファイルを開けませんでした";

// Measured: loading 8 million characters into Wine's rich-edit control took
// the process to a peak of 3.3 GB, about 430 bytes per character, and the
// control ends the process when an allocation fails. The real control needs
// a few bytes per character.
constexpr unsigned long long kWineControlBytesPerUnit = 450;
constexpr unsigned long long kWindowsControlBytesPerUnit = 8;

void SpeakAnswer(const wchar_t* text) {
    Speak(text, kAnswerDelayMs);
}

bool RunsUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The decoded text of a file, at most `maxBytes` of it.
ReadResult ReadText(const std::wstring& path, size_t maxBytes, size_t unitsBefore, int codePage, std::wstring& text,
                    int& usedCodePage, bool* cutAtNul = nullptr) {
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
        text = DecodeBytes(bytesRead, bytes.size(), usedCodePage, cutAtNul);
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

}  // namespace

void SpeakSaveFailure() {
    SpeakAnswer(L"保存できませんでした");
}

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

ReadResult LoadDocument(const std::wstring& path, int codePage) {
    std::wstring text;
    int usedCodePage = kUtf8;
    bool cutAtNul = false;
    const ReadResult result = ReadText(path, kMaxDocumentUnits, 0, codePage, text, usedCodePage, &cutAtNul);
    if (result != ReadResult::kDone) return result;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    // The text before a NUL is shown locked, and saves go elsewhere, so that
    // nothing the file holds after it is lost.
    const bool locked = readOnly || cutAtNul;
    const Editor editor = CurrentEditor();
    SetDocumentPath(path);
    SetCutShortOfItsFile(cutAtNul);
    SetDocumentEncoding(usedCodePage);
    // Set before the text arrives: switching it afterwards costs a pass over the text.
    editor.SetReadOnly(locked);
    editor.SetText(text);
    SetLoadedText(std::move(text));
    SetEditable(!locked);
    SetLockToggleAllowed(!readOnly);
    ShowDocumentTitle();
    AddToHistory(path);
    // Of answers given within one delay only the last is heard: the reason
    // for the lock is the one that must not be missed.
    SpeakAnswer(L"読み込みました");
    if (readOnly) SpeakAnswer(L"読み取り専用ファイル");
    if (cutAtNul) SpeakAnswer(L"NUL文字以降は読み込めないため編集禁止");
    editor.SetModified(false);
    return ReadResult::kDone;
}

bool SaveDocumentTo(const std::wstring& path, SaveAnswer answer) {
    if (!WriteDocument(path, DocumentEncoding())) return false;
    if (answer == SaveAnswer::kSpoken) AnnounceSaved();
    return true;
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
