#include <windows.h>

#include "app/program.h"
#include "core/profile.h"

// The program as the instance tests start it: with settings and lists of
// its own, never the user's.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    UseTestProfile();
    return RunProgram(instance);
}
