#pragma once
// The Help menu: the two manuals beside the program, the maker's web pages
// and the version box.
#include <windows.h>

// Paths of the maker's web site.
extern const wchar_t kProductPage[];

// Open a page of the maker's web site in the default browser. Says so when
// it cannot.
void OpenMakerPage(const wchar_t* path);

void OpenManualCommand(HWND mainWindow, LPARAM);         // 561, F1
void OpenCommandListCommand(HWND mainWindow, LPARAM);    // 562
void OpenUpdateHistoryCommand(HWND mainWindow, LPARAM);  // 563
void ShowVersionCommand(HWND mainWindow, LPARAM);        // 564
void OpenProductPageCommand(HWND mainWindow, LPARAM);    // 566
void OpenMakerSiteCommand(HWND mainWindow, LPARAM);      // 567
void OpenContactFormCommand(HWND mainWindow, LPARAM);    // 568
