#pragma once
// Files are replaced only once their new content is complete on disk: the
// bytes go to a new file in the same folder, which then takes the old
// file's place and keeps its attributes. Where no file can be made beside it
// or the replacement fails, the file is written over, with its old content
// kept in the backup folder until the new one is complete. A failed write
// leaves the old file as it was.
#include <windows.h>

#include <functional>
#include <string>

// `write` fills the new file through its handle and returns whether all of
// it was written; it runs again, on the file itself, when the replacement
// fails. Returns false, and changes nothing, when the target cannot
// be written (read-only, locked, missing folder) or the write fails.
bool ReplaceFileContent(const std::wstring& path, const std::function<bool(HANDLE)>& write);

bool WriteFileSafely(const std::wstring& path, const std::string& bytes);
