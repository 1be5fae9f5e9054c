#pragma once
// Where the program keeps a user's things: the settings under HKCU
// "Software\Temmaku\Orinda" and the lists in "%LOCALAPPDATA%\Temmaku\Orinda".
// Test programs keep theirs under a name of their own, so that a test run
// never touches a user's settings or lists.
#include <string>

// "Software\Temmaku\Orinda".
std::wstring SettingsKey();
// "Temmaku\Orinda": the data folder below the local application data.
std::wstring DataFolderBelowAppData();

// For test programs only, before anything is read: "OrindaTest" instead of
// "Orinda".
void UseTestProfile();
