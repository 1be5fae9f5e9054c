#pragma once
// Whole files read and written through handles that close themselves.
#include <windows.h>

#include <string>

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

// Write all of `size` bytes, in pieces the system takes at once.
bool WriteAll(HANDLE file, const char* data, size_t size);

// The whole file, or false when it cannot be opened or read. At most
// `maxBytes` are read.
bool ReadFileBytes(const std::wstring& path, size_t maxBytes, std::string& bytes);
