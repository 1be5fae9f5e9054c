#include "core/safe_write.h"

#include <algorithm>
#include <atomic>
#include <cwchar>

#include "core/file_io.h"
#include "core/paths.h"

namespace {

constexpr int kTemporaryNameTries = 100;

// Names of MAX_PATH characters and more are reachable only as full paths
// behind the "\\?\" prefix.
std::wstring ReachablePath(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    const std::wstring full = FullPathOf(path);
    if (full.empty()) return path;
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// A new, empty file beside `path` under a name no other file has, and that
// name; the name is empty when no file was made. GetTempFileNameW is not
// used: it refuses folders longer than MAX_PATH - 14 characters, whose files
// must still save.
HANDLE CreateTemporaryBeside(const std::wstring& path, std::wstring& temporary) {
    static std::atomic<unsigned> counter{GetCurrentProcessId() * 0x10000u + GetTickCount()};
    const size_t slash = path.find_last_of(L'\\');
    const std::wstring folder = path.substr(0, slash == std::wstring::npos ? 0 : slash + 1);
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        wchar_t name[16] = {};
        swprintf(name, 16, L"ori%08X.tmp", ++counter);
        temporary = ReachablePath(folder + name);
        const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    temporary.clear();
    return INVALID_HANDLE_VALUE;
}

}  // namespace

bool ReplaceFileContent(const std::wstring& path, const std::function<bool(HANDLE)>& write) {
    if (path.empty() || !FitsPathBuffer(path)) return false;
    // Opening for writing first tells a read-only, locked or unreachable file
    // apart before anything is made.
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
    FileHandle file(CreateTemporaryBeside(path, temporary));
    const bool complete = file.IsValid() && write(file.Get()) && FlushFileBuffers(file.Get());
    file.Close();
    if (!complete) return giveUp();
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (!ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        // These failures leave the old file renamed or gone and the new
        // content only in the temporary file: it must take the old name.
        const DWORD error = GetLastError();
        if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT && error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) return giveUp();
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
