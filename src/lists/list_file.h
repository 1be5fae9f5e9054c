#pragma once
// The stored list files (history.log, BookMark.log, Audio.log): UTF-8 text
// after a byte-order mark, one line of key=value fields per entry, CR LF
// between entries, newest first; reading stops at the first empty line.
// Every change rereads the file and rewrites it whole, so that all instances
// share one list.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

using ListLines = std::vector<std::wstring>;

inline constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// The text of `bytes` from `start` on, in a code page. Invalid sequences
// become replacement characters, or with `strict` make it fail.
bool DecodeText(const std::string& bytes, size_t start, UINT codePage, bool strict, std::wstring& text);
std::string EncodeUtf8(const std::wstring& text);

// The lines up to the first empty one. The mark is optional and invalid
// UTF-8 becomes replacement characters, so any file reads.
ListLines ParseListLines(const std::string& bytes);
// The mark, then each line with CR LF. An empty line would end the list
// early: the lines given must not be empty.
std::string FormatListLines(const ListLines& lines);

// Empty when the file does not exist yet; nothing when it is there but cannot
// be read now (another instance may be replacing it): a change must then not
// be written over entries that were never seen.
std::optional<ListLines> ReadListFile(const std::wstring& path);
// Replace the file safely; false when it could not be written.
bool WriteListFile(const std::wstring& path, const ListLines& lines);

// An entry of a list of files: "FilePath=%s", followed in some lists by
// "|<key>=%d" with a position in the file (a caret, a resume point).
struct PathEntry {
    std::wstring path;
    std::wstring fileName;
    long position = 0;
};
using PathEntries = std::vector<PathEntry>;

// The entries of the lines, at most `maxEntries`. `positionKey` is the key
// of the position ("|CurselPoint="), or empty for a list without one. A line
// without the keys, an empty path, a path longer than a path buffer or one
// holding a character Windows forbids in paths (", <, >, |, control
// characters) takes no place: it is skipped, never cut into another path. A position without
// digits is 0 and one too large for a long is capped.
PathEntries ParsePathEntries(const ListLines& lines, const std::wstring& positionKey, size_t maxEntries);
ListLines FormatPathEntries(const PathEntries& entries, const std::wstring& positionKey, size_t maxEntries);

// A list file of path entries: empty when it does not exist yet, nothing when
// it cannot be read now (ReadListFile).
std::optional<PathEntries> ReadPathList(const std::wstring& path, const std::wstring& positionKey, size_t maxEntries);
bool WritePathList(const std::wstring& path, const PathEntries& entries, const std::wstring& positionKey,
                   size_t maxEntries);

// A list of files as the older version kept it: an initialisation file in the
// ANSI code page whose section "FilePath" holds "FilePath0", "FilePath1", ...
// up to the first empty one, and, when `positionName` is given, the section of
// that name holds "<positionName>0", ... Paths that ParsePathEntries would
// skip are skipped.
PathEntries ReadLegacyPathList(const std::wstring& legacyFile, const std::wstring& positionName,
                               size_t maxEntries);

// Put a path at the top, keeping the position it had when it was already
// listed (paths compare exactly); the oldest entries beyond `maxEntries` go.
void MoveToTop(PathEntries& entries, const std::wstring& path, size_t maxEntries);
