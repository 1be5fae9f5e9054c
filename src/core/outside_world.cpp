#include "core/outside_world.h"

#include <windows.h>
#include <shellapi.h>

#include "core/app_window.h"

namespace {

bool ShellOpen(const std::wstring& target) {
    // No verb: the target's default action, which is not always "open".
    // ShellExecuteW reports success with a value above 32.
    const auto result = ShellExecuteW(MainWindow(), nullptr, target.c_str(), nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

OutsideWorld g_outside{ShellOpen};

}  // namespace

OutsideWorld& Outside() {
    return g_outside;
}
