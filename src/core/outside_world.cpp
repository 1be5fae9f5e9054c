#include "core/outside_world.h"

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include "core/app_window.h"

namespace {

bool ShellOpen(const std::wstring& target) {
    // No verb: the target's default action, which is not always "open".
    // ShellExecuteW reports success with a value above 32.
    const auto result = ShellExecuteW(MainWindow(), nullptr, target.c_str(), nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool SendMciString(const std::wstring& command, std::wstring& reply) {
    // Zeroed, so that a reply the device did not write reads as none.
    wchar_t buffer[128] = {};
    const MCIERROR error = mciSendStringW(command.c_str(), buffer, ARRAYSIZE(buffer), MainWindow());
    buffer[ARRAYSIZE(buffer) - 1] = L'\0';
    reply = error == 0 ? buffer : L"";
    return error == 0;
}

OutsideWorld g_outside{ShellOpen, SendMciString};

}  // namespace

OutsideWorld& Outside() {
    return g_outside;
}
