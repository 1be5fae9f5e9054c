#pragma once
// Safety copies: the backup written when another instance asks for it, and
// the temporary copy.
#include <string>

void InitSafetyCopyPaths(const std::wstring& dataFolder);
// Save modified text to this instance's backup file; the document path does
// not change.
void SaveBackupIfModified();
