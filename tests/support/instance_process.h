#pragma once
#include <windows.h>

#include <string>

namespace testing_support {

struct Instance {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

// The program as the tests run it, with the tests' settings and data folder.
std::wstring Program();

// Start the program and wait until its window shows a title that begins
// with `titleStart`.
Instance Start(const std::wstring& program, const std::wstring& argument = L"", const wchar_t* folder = nullptr,
               const std::wstring& titleStart = L"無題");
bool WaitForExit(const Instance& instance);
// Close it as the user would; ended by force when it does not go.
void Close(Instance& instance);
// The dialog or message box with this title that the instance shows.
HWND WaitForDialog(const Instance& instance, const wchar_t* title);
// Wait until the instance is back in its message loop: it then has handled
// what it was doing, and a message sent to it is answered.
bool HandledSoFar(const Instance& instance);
// Type a character into its editor, so that it holds unsaved text.
void TypeUnsavedText(const Instance& instance);

}  // namespace testing_support
