#include "lists/list_file.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cwchar>

#include "core/file_io.h"
#include "core/leading_number.h"
#include "core/paths.h"
#include "core/safe_write.h"

namespace {

// Larger than any list this program writes; a bigger file is read only this
// far instead of exhausting memory.
constexpr size_t kMaxListFileBytes = 16u << 20;

}  // namespace

bool DecodeText(const std::string& bytes, size_t start, UINT codePage, bool strict, std::wstring& text) {
    text.clear();
    if (bytes.size() <= start) return true;
    const int count = static_cast<int>(bytes.size() - start);
    // A code unit per byte at most, in every code page.
    text.resize(static_cast<size_t>(count));
    const int units = MultiByteToWideChar(codePage, strict ? MB_ERR_INVALID_CHARS : 0, bytes.data() + start, count,
                                          text.data(), count);
    text.resize(units > 0 ? static_cast<size_t>(units) : 0);
    return units > 0;
}

std::string EncodeUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int units = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), units, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

ListLines ParseListLines(const std::string& bytes) {
    const bool hasMark = bytes.compare(0, 3, kUtf8Mark) == 0;
    std::wstring text;
    DecodeText(bytes, hasMark ? 3 : 0, CP_UTF8, false, text);
    ListLines lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        if (end == start) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string FormatListLines(const ListLines& lines) {
    std::string bytes = kUtf8Mark;
    for (const std::wstring& line : lines) bytes += EncodeUtf8(line + L"\r\n");
    return bytes;
}

std::optional<ListLines> ReadListFile(const std::wstring& path) {
    std::string bytes;
    if (ReadFileBytes(path, kMaxListFileBytes, bytes)) return ParseListLines(bytes);
    const bool missing = GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
                         (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND);
    return missing ? std::optional<ListLines>(ListLines()) : std::nullopt;
}

bool WriteListFile(const std::wstring& path, const ListLines& lines) {
    return WriteFileSafely(path, FormatListLines(lines));
}

namespace {

const wchar_t kPathKey[] = L"FilePath=";

// The lists are not trusted input: the old shared folder is writable by every
// local account. A path with a character Windows forbids in paths names no
// file, and a quote in it would end the quoted path of a device command.
bool IsUsablePath(const std::wstring& path) {
    if (path.empty() || !FitsPathBuffer(path)) return false;
    return std::none_of(path.begin(), path.end(), [](wchar_t unit) {
        return unit < L' ' || unit == L'"' || unit == L'<' || unit == L'>' || unit == L'|';
    });
}

bool ParsePathEntry(const std::wstring& line, const std::wstring& positionKey, PathEntry& entry) {
    const size_t pathKey = line.find(kPathKey);
    if (pathKey == std::wstring::npos) return false;
    const size_t pathStart = pathKey + wcslen(kPathKey);
    size_t pathEnd = line.size();
    if (!positionKey.empty()) {
        pathEnd = line.find(positionKey, pathStart);
        if (pathEnd == std::wstring::npos) return false;
        entry.position = LeadingNumber(line, pathEnd + positionKey.size());
    }
    entry.path = line.substr(pathStart, pathEnd - pathStart);
    // An empty path would end the list when written; a longer one cannot be
    // opened through a path buffer and must not be cut into another path.
    if (!IsUsablePath(entry.path)) return false;
    entry.fileName = FileNameOf(entry.path);
    return true;
}

}  // namespace

PathEntries ParsePathEntries(const ListLines& lines, const std::wstring& positionKey, size_t maxEntries) {
    PathEntries entries;
    for (const std::wstring& line : lines) {
        if (entries.size() >= maxEntries) break;
        PathEntry entry;
        if (ParsePathEntry(line, positionKey, entry)) entries.push_back(entry);
    }
    return entries;
}

ListLines FormatPathEntries(const PathEntries& entries, const std::wstring& positionKey, size_t maxEntries) {
    ListLines lines;
    for (const PathEntry& entry : entries) {
        if (lines.size() >= maxEntries || entry.path.empty()) break;
        std::wstring line = kPathKey + entry.path;
        if (!positionKey.empty()) line += positionKey + std::to_wstring(entry.position);
        lines.push_back(line);
    }
    return lines;
}

std::optional<PathEntries> ReadPathList(const std::wstring& path, const std::wstring& positionKey, size_t maxEntries) {
    const std::optional<ListLines> lines = ReadListFile(path);
    if (!lines) return std::nullopt;
    return ParsePathEntries(*lines, positionKey, maxEntries);
}

bool WritePathList(const std::wstring& path, const PathEntries& entries, const std::wstring& positionKey,
                   size_t maxEntries) {
    return WriteListFile(path, FormatPathEntries(entries, positionKey, maxEntries));
}

void MoveToTop(PathEntries& entries, const std::wstring& path, size_t maxEntries) {
    PathEntry top{path, FileNameOf(path), 0};
    const auto found = std::find_if(entries.rbegin(), entries.rend(),
                                    [&path](const PathEntry& entry) { return entry.path == path; });
    if (found != entries.rend()) {
        top.position = found->position;
        entries.erase(std::next(found).base());
    }
    entries.insert(entries.begin(), top);
    if (entries.size() > maxEntries) entries.resize(maxEntries);
}

PathEntries ReadLegacyPathList(const std::wstring& legacyFile, const std::wstring& positionName,
                               size_t maxEntries) {
    PathEntries entries;
    for (size_t i = 0; i < maxEntries; ++i) {
        // A buffer larger than a path, so that an over-long value is seen and
        // skipped instead of being cut.
        wchar_t path[4 * kPathBufferUnits] = {};
        const std::wstring pathKey = L"FilePath" + std::to_wstring(i);
        GetPrivateProfileStringW(L"FilePath", pathKey.c_str(), L"", path, ARRAYSIZE(path), legacyFile.c_str());
        if (path[0] == L'\0') break;
        UINT position = 0;
        if (!positionName.empty()) {
            const std::wstring positionKey = positionName + std::to_wstring(i);
            position = GetPrivateProfileIntW(positionName.c_str(), positionKey.c_str(), 0, legacyFile.c_str());
        }
        const std::wstring entryPath = path;
        if (IsUsablePath(entryPath))
            entries.push_back({entryPath, FileNameOf(entryPath), static_cast<long>(std::min<UINT>(position, LONG_MAX))});
    }
    return entries;
}
