#include "app/instance_windows.h"

#include <string>

namespace {

struct Search {
    HWND ownWindow;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectInstanceWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    wchar_t className[16] = {};
    if (window != search->ownWindow && GetClassNameW(window, className, 16) && std::wstring(className) == L"Orinda")
        search->windows.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> OtherInstanceWindows(HWND ownWindow) {
    Search search{ownWindow, {}};
    EnumWindows(CollectInstanceWindow, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}
