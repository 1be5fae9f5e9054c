#include "core/safe_write.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cwchar>

#include "core/data_folder.h"
#include "core/file_io.h"
#include "core/paths.h"

namespace {

constexpr int kTemporaryNameTries = 100;
constexpr DWORD kCopyPieceBytes = 64 * 1024;

// Names of MAX_PATH characters and more are reachable only as full paths
// behind the "\\?\" prefix.
std::wstring ReachablePath(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    const std::wstring full = FullPathOf(path);
    if (full.empty()) return path;
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// A new, empty file in `folder` (ending in a backslash) under a name no other
// file has, "<prefix>XXXXXXXX.tmp", and that name; the name is empty when no
// file was made. GetTempFileNameW is not used: it refuses folders longer
// than MAX_PATH - 14 characters, whose files must still save.
HANDLE CreateUniqueFile(const std::wstring& folder, const std::wstring& prefix, std::wstring& made) {
    static std::atomic<unsigned> counter{GetCurrentProcessId() * 0x10000u + GetTickCount()};
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        wchar_t number[16] = {};
        swprintf(number, 16, L"%08X.tmp", ++counter);
        made = ReachablePath(folder + prefix + number);
        const HANDLE file = CreateFileW(made.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    made.clear();
    return INVALID_HANDLE_VALUE;
}

bool WriteFromStart(HANDLE file, const std::function<bool(HANDLE)>& write) {
    return SetFilePointer(file, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER && write(file) &&
           SetEndOfFile(file) && FlushFileBuffers(file);
}

// The whole of `from`, from its start, added to `to` a piece at a time: the
// old file may be larger than the memory the process can have.
bool CopyInPieces(HANDLE from, HANDLE to) {
    if (SetFilePointer(from, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    char piece[kCopyPieceBytes];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(from, piece, sizeof piece, &read, nullptr)) return false;
        if (read == 0) return true;
        if (!WriteAll(to, piece, read)) return false;
    }
}

// The old content back from its copy; an empty old file has none.
bool CopyBack(const std::wstring& copy, HANDLE target) {
    if (copy.empty()) return true;
    FileHandle source(
        CreateFileW(copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return source.IsValid() && CopyInPieces(source.Get(), target);
}

// For a folder where a file may be changed but not created, and for a
// replacement that failed: the file is written over. Until the new content
// is complete the old one stays in a copy in the backup folder, and it is put
// back when the write fails; the copy is left there only when even that fails.
bool WriteInPlace(const std::wstring& path, const std::function<bool(HANDLE)>& write) {
    FileHandle target(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!target.IsValid() || !GetFileSizeEx(target.Get(), &size)) return false;
    std::wstring copy;
    if (size.QuadPart > 0) {
        const std::wstring folder = BackupFolder();
        FileHandle copyFile(folder.empty() ? INVALID_HANDLE_VALUE
                                           : CreateUniqueFile(folder + L"\\", FileNameOf(path) + L".", copy));
        const bool copied =
            copyFile.IsValid() && CopyInPieces(target.Get(), copyFile.Get()) && FlushFileBuffers(copyFile.Get());
        copyFile.Close();
        if (!copied) {
            if (!copy.empty()) DeleteFileW(copy.c_str());
            return false;
        }
    }
    const bool written = WriteFromStart(target.Get(), write);
    const bool restored =
        written || WriteFromStart(target.Get(), [&copy](HANDLE file) { return CopyBack(copy, file); });
    if (restored && !copy.empty()) DeleteFileW(copy.c_str());
    return written;
}

}  // namespace

bool ReplaceFileContent(const std::wstring& path, const std::function<bool(HANDLE)>& write) {
    if (path.empty() || !FitsPathBuffer(path)) return false;
    // A read-only file is refused even where the system would let this
    // process write it (root under Wine).
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    // Opening for writing first tells a locked or unreachable file apart
    // before anything is made.
    bool createdNow = false;
    {
        FileHandle target(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!target.IsValid()) return false;
        createdNow = GetLastError() != ERROR_ALREADY_EXISTS;
    }
    std::wstring temporary;
    const auto giveUp = [&]() {
        if (!temporary.empty()) DeleteFileW(temporary.c_str());
        if (createdNow) DeleteFileW(path.c_str());
        return false;
    };
    const auto inPlace = [&]() {
        if (!temporary.empty()) DeleteFileW(temporary.c_str());
        temporary.clear();
        return WriteInPlace(path, write) || giveUp();
    };
    const size_t slash = path.find_last_of(L'\\');
    FileHandle file(CreateUniqueFile(path.substr(0, slash == std::wstring::npos ? 0 : slash + 1), L"ori", temporary));
    if (!file.IsValid()) return inPlace();
    const bool complete = write(file.Get()) && FlushFileBuffers(file.Get());
    file.Close();
    // Content that could not be written (a full disk) would fail over the old file too.
    if (!complete) return giveUp();
    if (!ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        const DWORD error = GetLastError();
        if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT && error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) return inPlace();
        // The old file is renamed or gone and the new content is only in the
        // temporary file: it must take the old name.
        if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
    }
    // Not every system carries the attributes over with the replacement.
    if (!createdNow && attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(path.c_str(), attributes);
    return true;
}

bool WriteFileSafely(const std::wstring& path, const std::string& bytes) {
    return ReplaceFileContent(path, [&bytes](HANDLE file) { return WriteAll(file, bytes.data(), bytes.size()); });
}
