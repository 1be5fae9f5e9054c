#include "app/untitled_number.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

const wchar_t kUntitledPrefix[] = L"無題";
const wchar_t kTitleEnding[] = L" - オリンダ";
constexpr size_t kMaxCollected = 100;
constexpr int kTitleUnits = 256;

struct Collection {
    HWND ownWindow;
    std::vector<int> numbers;
};

BOOL CALLBACK CollectUntitledNumber(HWND window, LPARAM lParam) {
    auto* collection = reinterpret_cast<Collection*>(lParam);
    wchar_t className[16] = {};
    if (window == collection->ownWindow || !GetClassNameW(window, className, 16) ||
        std::wstring(className) != L"Orinda")
        return TRUE;
    wchar_t title[kTitleUnits + 1] = {};
    GetWindowTextW(window, title, kTitleUnits + 1);
    if (const int number = UntitledNumberInTitle(title)) collection->numbers.push_back(number);
    return collection->numbers.size() < kMaxCollected;
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

int NextUntitledNumber(HWND ownWindow) {
    Collection collection{ownWindow, {}};
    EnumWindows(CollectUntitledNumber, reinterpret_cast<LPARAM>(&collection));
    if (collection.numbers.empty()) return 1;
    return *std::max_element(collection.numbers.begin(), collection.numbers.end()) + 1;
}

std::wstring UntitledTitle(int number) {
    return kUntitledPrefix + std::to_wstring(number) + kTitleEnding;
}
