#pragma once
// What several benchmark programs share: Japanese prose as real documents
// mix it, files for it, and the program's main window in the bench process.
#include <windows.h>

#include <string>

// Lines of 20 to 70 units, each ending in "。", in paragraphs of 3 to 12
// lines divided by an empty line; `lines` counts the empty ones too. The
// same seed gives the same text in every process.
std::wstring Prose(long lines, unsigned seed);

// A file of the temporary folder.
std::wstring TempPath(const std::wstring& name);

// Writes `text` as UTF-8 without a byte-order mark; returns the size written.
size_t WriteUtf8(const std::wstring& path, const std::wstring& text);

// The program's main window, 800 by 600, with no speech unless `speech`
// names an engine, and word wrap as asked. Null on failure.
HWND MakeMainWindow(bool wrap, int speech = 0);

// Dispatch every message waiting for this thread.
void Pump();
