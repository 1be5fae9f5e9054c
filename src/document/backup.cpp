#include "document/backup.h"

// Backups are not written yet: there are no paths to build and nothing is saved.

void InitSafetyCopyPaths(const std::wstring&) {}

void SaveBackupIfModified() {}
