#include "core/file_io.h"

#include <algorithm>

#include "core/paths.h"

namespace {
constexpr DWORD kChunkBytes = 1u << 20;
}  // namespace

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
