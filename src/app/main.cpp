#include <windows.h>

#include "app/program.h"
#include "app/startup_steps.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    MarkStartupStep("process and runtime");
    return RunProgram(instance);
}
