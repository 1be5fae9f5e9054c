#pragma once
// The file commands: new, open, insert, save, save as, reload, and the open
// flow that the lists of files reuse.
#include <windows.h>

#include <string>

// Put the caret where the file history left it for this path, when the user
// wants that (Option2).
void RestoreRememberedCaret(const std::wstring& path);

// The open flow of every list that names a file (history, favourites):
// the save question, then the load and the remembered caret.
void OpenChosenDocument(HWND owner, const std::wstring& path);
void NewCommand(HWND mainWindow, LPARAM);               // 501
void SaveCommand(HWND mainWindow, LPARAM);              // 502
void SaveAsCommand(HWND mainWindow, LPARAM);            // 503
void OpenCommand(HWND mainWindow, LPARAM);              // 504
void OpenFromHistoryCommand(HWND mainWindow, LPARAM);   // 505
void InsertFileCommand(HWND mainWindow, LPARAM);        // 506
void AddToFavouritesCommand(HWND mainWindow, LPARAM);   // 507
void OpenFromFavouritesCommand(HWND mainWindow, LPARAM);  // 508
void SaveWithEncodingCommand(HWND mainWindow, LPARAM);  // 509
void ReloadWithEncodingCommand(HWND mainWindow, LPARAM);  // 525
