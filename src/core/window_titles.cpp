#include "core/window_titles.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "core/window_text.h"

const wchar_t kMainWindowClass[] = L"Orinda";

namespace {

const wchar_t kUntitledPrefix[] = L"無題";
const wchar_t kTitleEnding[] = L" - オリンダ";
constexpr size_t kMaxCollected = 100;

struct Search {
    HWND ownWindow;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectInstanceWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    wchar_t className[16] = {};
    if (window != search->ownWindow && GetClassNameW(window, className, 16) &&
        std::wstring(className) == kMainWindowClass)
        search->windows.push_back(window);
    return TRUE;
}

}  // namespace

int UntitledNumberInTitle(const std::wstring& title) {
    const std::wstring prefix = kUntitledPrefix;
    const std::wstring ending = kTitleEnding;
    if (title.compare(0, prefix.size(), prefix) != 0) return 0;
    size_t position = prefix.size();
    long long value = 0;
    const size_t digitsStart = position;
    while (position < title.size() && title[position] >= L'0' && title[position] <= L'9') {
        value = value * 10 + (title[position] - L'0');
        // One more than the number must still be a valid number.
        if (value >= INT_MAX) return 0;
        ++position;
    }
    if (position == digitsStart || value < 1 || title.compare(position, std::wstring::npos, ending) != 0) return 0;
    return static_cast<int>(value);
}

std::vector<HWND> OtherInstanceWindows(HWND ownWindow) {
    Search search{ownWindow, {}};
    EnumWindows(CollectInstanceWindow, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

int NextUntitledNumber(HWND ownWindow) {
    std::vector<int> numbers;
    for (const HWND window : OtherInstanceWindows(ownWindow)) {
        if (const int number = UntitledNumberInTitle(WindowText(window))) numbers.push_back(number);
        if (numbers.size() == kMaxCollected) break;
    }
    if (numbers.empty()) return 1;
    return *std::max_element(numbers.begin(), numbers.end()) + 1;
}

std::wstring UntitledName(int number) {
    return kUntitledPrefix + std::to_wstring(number);
}

std::wstring UntitledTitle(int number) {
    return DocumentTitle(UntitledName(number));
}

std::wstring DocumentTitle(const std::wstring& fileName) {
    return fileName + kTitleEnding;
}
