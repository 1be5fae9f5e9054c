#pragma once
// The shortcut to the program in the user's Send-To folder: a text file sent
// to it from the file manager arrives as the first command-line argument.
#include <string>

// The shortcut's path, or empty when there is no Send-To folder or the path
// would not fit a path buffer.
std::wstring SendToShortcutPath();

// Make a shell link to this program file at `shortcutPath`. Returns whether
// the link is there.
bool CreateProgramShortcut(const std::wstring& shortcutPath);
