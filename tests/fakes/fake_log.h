#pragma once
// Shared by the stand-in speech libraries: every call becomes one line
// "<milliseconds> <function> <text>" in UTF-8, appended to the file named by
// ORINDA_FAKE_SPEECH_LOG, or written to standard error when that is unset
// (so that a developer running the program sees what a user would hear).
#include <windows.h>

#include <string>

namespace fake {

// Milliseconds on the performance counter, comparable across threads and
// processes of one machine.
double NowMs();

void Log(const char* function, const wchar_t* text);

double EnvironmentNumber(const wchar_t* name, double fallback);

}  // namespace fake
