#include "app/untitled_number.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "app/instance_windows.h"

namespace {

const wchar_t kUntitledPrefix[] = L"無題";
const wchar_t kTitleEnding[] = L" - オリンダ";
constexpr size_t kMaxCollected = 100;
constexpr int kTitleUnits = 256;

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

int NextUntitledNumber(HWND ownWindow) {
    std::vector<int> numbers;
    for (const HWND window : OtherInstanceWindows(ownWindow)) {
        wchar_t title[kTitleUnits + 1] = {};
        GetWindowTextW(window, title, kTitleUnits + 1);
        if (const int number = UntitledNumberInTitle(title)) numbers.push_back(number);
        if (numbers.size() == kMaxCollected) break;
    }
    if (numbers.empty()) return 1;
    return *std::max_element(numbers.begin(), numbers.end()) + 1;
}

std::wstring UntitledTitle(int number) {
    return kUntitledPrefix + std::to_wstring(number) + kTitleEnding;
}
