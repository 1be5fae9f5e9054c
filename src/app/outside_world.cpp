#include "app/outside_world.h"

#include <windows.h>
#include <shellapi.h>

namespace {

bool ShellOpen(const std::wstring& target) {
    // ShellExecuteW reports success with a value above 32.
    const auto result = ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

OutsideWorld g_outside{ShellOpen};

}  // namespace

OutsideWorld& Outside() {
    return g_outside;
}
