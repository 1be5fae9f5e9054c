#pragma once
// Paths live in fixed buffers of 261 UTF-16 units (at most 260 characters);
// these helpers keep every path within that contract.
#include <string>

constexpr size_t kPathBufferUnits = 261;
constexpr size_t kMaxPathUnits = kPathBufferUnits - 1;

inline bool FitsPathBuffer(const std::wstring& path) {
    return path.size() <= kMaxPathUnits;
}

// The program's own file, or empty when its path does not fit a path buffer.
std::wstring ProgramFilePath();

// A shell special folder (CSIDL_...), or empty when the shell has none.
std::wstring SpecialFolder(int csidl);

// The folder part of a path: everything before its last backslash.
std::wstring FolderOf(const std::wstring& path);

// The file-name part of a path: everything after its last backslash.
std::wstring FileNameOf(const std::wstring& path);

// The full path of a possibly relative one, uncut whatever its length;
// empty when it cannot be resolved.
std::wstring FullPathOf(const std::wstring& path);

bool FolderExists(const std::wstring& path);
bool FileExists(const std::wstring& path);

// The folder of the program file; empty when its path does not fit a path
// buffer.
std::wstring ProgramFolder();
