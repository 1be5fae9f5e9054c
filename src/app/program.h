#pragma once
// The whole program: the main window and its message loop, with what must
// be set up around them. Returns the exit code.
#include <windows.h>

int RunProgram(HINSTANCE instance);
