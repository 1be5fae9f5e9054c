#include "core/app_window.h"

namespace {
HWND g_mainWindow = nullptr;
}  // namespace

HWND MainWindow() {
    return g_mainWindow;
}

void SetMainWindow(HWND window) {
    g_mainWindow = window;
}
