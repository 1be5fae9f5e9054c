#include "document/recovery.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <new>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "core/app_window.h"
#include "core/data_folder.h"
#include "core/editor_control.h"
#include "core/file_io.h"
#include "core/outside_world.h"
#include "core/paths.h"
#include "core/safe_write.h"
#include "core/whole_text.h"
#include "document/backup.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "speech/speech.h"

namespace {

const wchar_t kFirstLine[] = L"\xFEFFOrinda recovery copy\r\n";
const wchar_t kPathKey[] = L"path=";
const wchar_t kEncodingKey[] = L"encoding=";
const wchar_t kCaretKey[] = L"caret=";
const wchar_t kCopyExtension[] = L".txt";
const wchar_t kLockExtension[] = L".lock";
// Every unit of the largest text doubled (CR LF for CR), and the header.
constexpr size_t kMaxCopyBytes = kEditorTextLimit * 2 * sizeof(wchar_t) + 4096;
constexpr int kMaxNameTries = 100;
// A save or close waits this long at most for a copy still being written.
constexpr DWORD kWriteEndWaitMs = 10000;

HANDLE g_ownLock = INVALID_HANDLE_VALUE;
std::wstring g_ownCopy;
bool g_longestTimerSet = false;
// Set while no write is under way.
HANDLE g_writeDone = nullptr;

std::wstring RecoveryFolder() {
    return DataFolder().empty() ? std::wstring() : DataFolder() + L"\\Recovery";
}

// Copies are named "*.txt"; the lock beside one has its name with ".lock".
std::wstring LockPathOf(const std::wstring& copy) {
    return copy.substr(0, copy.size() - std::wcslen(kCopyExtension)) + kLockExtension;
}

// The lock file held open with no sharing, deleted when its last handle
// closes; the system closes that handle when the process ends.
HANDLE HoldLock(const std::wstring& copy, DWORD disposition) {
    const std::wstring lock = LockPathOf(copy);
    if (!FitsPathBuffer(lock)) return INVALID_HANDLE_VALUE;
    return CreateFileW(lock.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

void ReleaseOwnCopy() {
    if (g_ownLock != INVALID_HANDLE_VALUE) CloseHandle(g_ownLock);
    g_ownLock = INVALID_HANDLE_VALUE;
    g_ownCopy.clear();
}

void Adopt(HANDLE lock, const std::wstring& copy) {
    // A copy of this instance that is still there becomes one of an instance
    // that is gone: it is offered later rather than lost.
    ReleaseOwnCopy();
    g_ownLock = lock;
    g_ownCopy = copy;
}

// A name of this instance's own: the start time and the process, and a
// number when an earlier process of the same number left a copy.
bool ClaimOwnCopy() {
    if (g_ownLock != INVALID_HANDLE_VALUE) return true;
    const std::wstring folder = RecoveryFolder();
    if (folder.empty() || !FitsPathBuffer(folder) ||
        (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS))
        return false;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::wstring base = folder + L"\\" + BackupNameOf(now) + L"_" + std::to_wstring(GetCurrentProcessId());
    for (int attempt = 1; attempt <= kMaxNameTries; ++attempt) {
        const std::wstring copy = base + (attempt == 1 ? L"" : L"_" + std::to_wstring(attempt)) + kCopyExtension;
        const HANDLE lock = HoldLock(copy, CREATE_NEW);
        if (lock == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_SHARING_VIOLATION) continue;
            return false;
        }
        if (FileExists(copy)) {
            CloseHandle(lock);
            continue;
        }
        Adopt(lock, copy);
        return true;
    }
    return false;
}

bool WriteUnderWay() {
    return g_writeDone && WaitForSingleObject(g_writeDone, 0) == WAIT_TIMEOUT;
}

// The copy is formatted and written on a worker, so that typing goes on;
// the text was read here already, as the control wants.
void WriteCopy(const std::wstring& path, RecoveryContent content) {
    const auto write = [](const std::wstring& target, const RecoveryContent& what) {
        try {
            WriteFileSafely(target, FormatRecoveryCopy(what));
        } catch (const std::bad_alloc&) {
            // The older copy stays; the next pause tries again.
        }
    };
    if (!g_writeDone) g_writeDone = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    if (!g_writeDone) {
        write(path, content);
        return;
    }
    ResetEvent(g_writeDone);
    try {
        std::thread([write, path, content = std::move(content)] {
            write(path, content);
            SetEvent(g_writeDone);
        }).detach();
    } catch (const std::system_error&) {
        SetEvent(g_writeDone);
    }
}

void StopTimers() {
    if (const HWND window = MainWindow()) {
        KillTimer(window, kRecoveryPauseTimerId);
        KillTimer(window, kRecoveryLongestTimerId);
    }
    g_longestTimerSet = false;
}

void UpdateOwnCopy() {
    const Editor editor = CurrentEditor();
    // Emptied text leaves nothing worth bringing back.
    if (!editor.IsModified() || editor.IsEmpty()) {
        RemoveRecoveryCopy();
        return;
    }
    RecoveryContent content;
    try {
        content.text = editor.EditorText();
    } catch (const std::bad_alloc&) {
        return;
    }
    // A failed read must not replace the copy with nothing.
    if (content.text.empty()) return;
    if (!ClaimOwnCopy()) return;
    content.path = DocumentPath();
    content.codePage = DocumentEncoding();
    content.caret = editor.GetSelection().start;
    WriteCopy(g_ownCopy, std::move(content));
}

struct FoundCopy {
    std::wstring path;
    FILETIME written;
};

std::vector<FoundCopy> CopiesNewestFirst() {
    std::vector<FoundCopy> copies;
    const std::wstring folder = RecoveryFolder();
    if (folder.empty()) return copies;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*" + kCopyExtension).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return copies;
    do {
        const std::wstring path = folder + L"\\" + found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && FitsPathBuffer(LockPathOf(path)))
            copies.push_back({path, found.ftLastWriteTime});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(copies.begin(), copies.end(), [](const FoundCopy& a, const FoundCopy& b) {
        return CompareFileTime(&a.written, &b.written) > 0;
    });
    return copies;
}

bool ReadCopy(const std::wstring& path, RecoveryContent& content) {
    try {
        std::string bytes;
        return ReadFileBytes(path, kMaxCopyBytes, bytes) && ParseRecoveryCopy(bytes, content);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool IsDocumentEncoding(int codePage) {
    for (int index = 0; index < kEncodingCount; ++index)
        if (EncodingAtIndex(index) == codePage) return true;
    return false;
}

// The text as an untitled document with unsaved changes, so that the save
// question still guards it; the copy, held by `lock`, becomes this
// instance's own.
void PutBack(const RecoveryContent& content, HANDLE lock, const std::wstring& copy) {
    if (!PutDocumentText(content.text, false)) {
        CloseHandle(lock);
        Speak(L"テキストを復元できませんでした", kAnswerDelayMs);
        return;
    }
    SetDocumentPath(L"");
    SetDocumentEncoding(IsDocumentEncoding(content.codePage) ? content.codePage : kUtf8);
    SetLoadedText(L"");
    SetEditable(true);
    SetLockToggleAllowed(true);
    ShowUntitledTitle();
    const Editor editor = CurrentEditor();
    editor.PlaceCaret(std::clamp(content.caret, 0L, editor.TextLength()));
    editor.SetModified(true);
    Adopt(lock, copy);
    std::wstring answer = L"保存されていなかったテキストを復元しました";
    if (!content.path.empty()) answer += L"。元のファイルは" + FileNameOf(content.path) + L"です";
    Speak(answer, kAnswerDelayMs);
}

// Kept, never deleted: the user may still want it from there.
bool MoveToBackupFolder(const std::wstring& copy) {
    const std::wstring folder = BackupFolder();
    if (folder.empty()) return false;
    const std::wstring name = FileNameOf(copy);
    const std::wstring stem = name.substr(0, name.size() - std::wcslen(kCopyExtension));
    for (int attempt = 1; attempt <= kMaxNameTries; ++attempt) {
        const std::wstring target =
            folder + L"\\" + stem + (attempt == 1 ? L"" : L"_" + std::to_wstring(attempt)) + kCopyExtension;
        if (!FitsPathBuffer(target)) return false;
        if (MoveFileExW(copy.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) return true;
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

}  // namespace

std::string FormatRecoveryCopy(const RecoveryContent& content) {
    const std::wstring header = std::wstring(kFirstLine) + kPathKey + content.path + L"\r\n" + kEncodingKey +
                                std::to_wstring(content.codePage) + L"\r\n" + kCaretKey +
                                std::to_wstring(content.caret) + L"\r\n\r\n";
    const size_t breaks = static_cast<size_t>(std::count(content.text.begin(), content.text.end(), L'\r'));
    std::wstring units;
    units.reserve(header.size() + content.text.size() + breaks);
    units = header;
    for (const wchar_t unit : content.text) {
        units += unit;
        if (unit == L'\r') units += L'\n';
    }
    static_assert(sizeof(wchar_t) == 2, "the copy is UTF-16 LE as the system keeps it");
    return std::string(reinterpret_cast<const char*>(units.data()), units.size() * sizeof(wchar_t));
}

bool ParseRecoveryCopy(const std::string& bytes, RecoveryContent& content) {
    // A copy cut within a unit loses that half unit.
    std::wstring units(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(units.data(), bytes.data(), units.size() * sizeof(wchar_t));
    const std::wstring_view first(kFirstLine);
    if (units.compare(0, first.size(), first) != 0) return false;
    RecoveryContent read;
    size_t at = first.size();
    for (;;) {
        const size_t end = units.find(L"\r\n", at);
        if (end == std::wstring::npos) return false;
        const std::wstring line = units.substr(at, end - at);
        at = end + 2;
        if (line.empty()) break;
        const auto number = [&line](const wchar_t* key) {
            return std::wcstol(line.c_str() + std::wcslen(key), nullptr, 10);
        };
        if (line.rfind(kPathKey, 0) == 0) read.path = line.substr(std::wcslen(kPathKey));
        else if (line.rfind(kEncodingKey, 0) == 0) read.codePage = static_cast<int>(number(kEncodingKey));
        else if (line.rfind(kCaretKey, 0) == 0) read.caret = number(kCaretKey);
    }
    if (!FitsPathBuffer(read.path)) read.path.clear();
    read.text.reserve(units.size() - at);
    for (size_t index = at; index < units.size(); ++index)
        if (!(units[index] == L'\n' && index > at && units[index - 1] == L'\r')) read.text += units[index];
    // A cut in the middle of a surrogate pair leaves half a character.
    if (!read.text.empty() && IS_HIGH_SURROGATE(read.text.back())) read.text.pop_back();
    content = std::move(read);
    return true;
}

void NoteTextChanged(HWND mainWindow) {
    SetTimer(mainWindow, kRecoveryPauseTimerId, kRecoveryPauseMs, nullptr);
    if (!g_longestTimerSet)
        g_longestTimerSet = SetTimer(mainWindow, kRecoveryLongestTimerId, kRecoveryLongestMs, nullptr) != 0;
}

void OnRecoveryTimer(HWND) {
    // The timer fires again: the next pause tries once this write is done.
    if (WriteUnderWay()) return;
    StopTimers();
    UpdateOwnCopy();
}

void RemoveRecoveryCopy() {
    StopTimers();
    if (g_ownCopy.empty()) return;
    WaitForRecoveryWrite(kWriteEndWaitMs);
    DeleteFileW(g_ownCopy.c_str());
}

const std::wstring& OwnRecoveryCopy() {
    return g_ownCopy;
}

bool WaitForRecoveryWrite(DWORD timeoutMs) {
    return !g_writeDone || WaitForSingleObject(g_writeDone, timeoutMs) == WAIT_OBJECT_0;
}

void OfferRecoveryCopy(HWND mainWindow, bool fileFromCommandLine) {
    for (const FoundCopy& copy : CopiesNewestFirst()) {
        // Held by a running instance, or being asked about by one starting now.
        const HANDLE lock = HoldLock(copy.path, OPEN_ALWAYS);
        if (lock == INVALID_HANDLE_VALUE) continue;
        RecoveryContent content;
        // A copy that cannot be read stays where it is, for whoever can.
        if (!ReadCopy(copy.path, content)) {
            CloseHandle(lock);
            continue;
        }
        const int answer = MessageBoxW(mainWindow, L"保存されずに終了したテキストがあります。\n復元しますか？",
                                       L"復元確認", MB_YESNO | MB_ICONQUESTION);
        if (answer != IDYES && answer != IDNO) {
            // No box could be shown: the copy waits for the next start.
            CloseHandle(lock);
        } else if (answer == IDNO) {
            const bool moved = MoveToBackupFolder(copy.path);
            CloseHandle(lock);
            if (!moved) Speak(L"テキストをバックアップフォルダに移せませんでした", kAnswerDelayMs);
        } else if (fileFromCommandLine) {
            // The file asked for stays as it is; the new instance takes the copy.
            CloseHandle(lock);
            const std::wstring program = ProgramFilePath();
            if (program.empty() ||
                !Outside().startProgram(program, std::wstring(kRecoverOption) + L" \"" + copy.path + L"\""))
                Speak(L"テキストを復元するオリンダを起動できませんでした", kAnswerDelayMs);
        } else {
            PutBack(content, lock, copy.path);
        }
        return;
    }
}

void RecoverCopy(const std::wstring& path) {
    // Only a copy of the Recovery folder: any other file named here would be
    // taken over, and written over or deleted later.
    const size_t extension = std::wcslen(kCopyExtension);
    const std::wstring folder = RecoveryFolder();
    const bool isCopy = !folder.empty() && _wcsicmp(FolderOf(path).c_str(), folder.c_str()) == 0 &&
                        path.size() > extension &&
                        _wcsicmp(path.c_str() + path.size() - extension, kCopyExtension) == 0;
    const HANDLE lock = isCopy ? HoldLock(path, OPEN_ALWAYS) : INVALID_HANDLE_VALUE;
    RecoveryContent content;
    if (lock == INVALID_HANDLE_VALUE || !ReadCopy(path, content)) {
        if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
        Speak(L"テキストを復元できませんでした", kAnswerDelayMs);
        return;
    }
    PutBack(content, lock, path);
}
