#include "document/safe_write.h"

#include <algorithm>

#include "app/paths.h"

namespace {

constexpr DWORD kChunkBytes = 1u << 20;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return handle_; }
    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (IsValid()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, const char* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, kChunkBytes));
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written != chunk) return false;
        data += chunk;
        size -= chunk;
    }
    return true;
}

std::wstring FolderForNewFile(const std::wstring& path) {
    const std::wstring folder = FolderOf(path);
    // "C:\name" has the drive root as its folder.
    return folder.size() == 2 && folder[1] == L':' ? folder + L"\\" : folder;
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
    const auto giveUp = [&](const wchar_t* temporary) {
        if (temporary) DeleteFileW(temporary);
        if (createdNow) DeleteFileW(path.c_str());
        return false;
    };
    wchar_t temporary[MAX_PATH] = {};
    if (!GetTempFileNameW(FolderForNewFile(path).c_str(), L"ori", 0, temporary)) return giveUp(nullptr);
    FileHandle file(CreateFileW(temporary, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    const bool complete = file.IsValid() && write(file.Get()) && FlushFileBuffers(file.Get());
    file.Close();
    if (!complete) return giveUp(temporary);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (!ReplaceFileW(path.c_str(), temporary, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return giveUp(temporary);
    // Not every system carries the attributes over with the replacement.
    if (!createdNow && attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(path.c_str(), attributes);
    return true;
}

bool WriteFileSafely(const std::wstring& path, const std::string& bytes) {
    return ReplaceFileContent(path, [&bytes](HANDLE file) { return WriteAll(file, bytes.data(), bytes.size()); });
}

bool ReadFileBytes(const std::wstring& path, size_t maxBytes, std::string& bytes) {
    bytes.clear();
    if (path.empty() || !FitsPathBuffer(path)) return false;
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) return false;
    const size_t wanted = std::min<unsigned long long>(static_cast<unsigned long long>(size.QuadPart), maxBytes);
    bytes.resize(wanted);
    size_t done = 0;
    while (done < wanted) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wanted - done, kChunkBytes));
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, chunk, &read, nullptr)) return false;
        if (read == 0) break;
        done += read;
    }
    bytes.resize(done);
    return true;
}
