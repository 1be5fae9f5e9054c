#pragma once
// The per-user data folder, "%LOCALAPPDATA%\Temmaku\Orinda", which holds the
// list files, templates and backups that every instance shares.
#include <string>

// Create the data folder and its subfolders and make it the current
// directory. Returns false when the folder cannot be had.
bool PrepareDataFolder();

// The data folder as the current directory reads back; empty before
// PrepareDataFolder succeeded.
const std::wstring& DataFolder();

// The data folder's "BackUp" folder, which keeps copies of text that must not
// be lost; empty before PrepareDataFolder succeeded.
std::wstring BackupFolder();
