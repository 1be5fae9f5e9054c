#include <windows.h>

#include "app/program.h"
#include "core/outside_world.h"
#include "core/profile.h"

// The program as the instance tests start it: with settings and lists of
// its own, never the user's, and never the network, whatever host the
// build knows.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    UseTestProfile();
    Outside().makerSite = [] { return std::wstring(); };
    Outside().httpGet = [](const std::wstring&, size_t, std::string&) { return false; };
    return RunProgram(instance);
}
