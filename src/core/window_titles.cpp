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

struct Collection {
    HWND ownWindow;
    std::vector<int> numbers;
};

BOOL CALLBACK CollectUntitledNumber(HWND window, LPARAM lParam) {
    auto* collection = reinterpret_cast<Collection*>(lParam);
    wchar_t className[16] = {};
    if (window == collection->ownWindow || !GetClassNameW(window, className, 16) ||
        std::wstring(className) != kMainWindowClass)
        return TRUE;
    if (const int number = UntitledNumberInTitle(WindowText(window))) collection->numbers.push_back(number);
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

std::wstring UntitledName(int number) {
    return kUntitledPrefix + std::to_wstring(number);
}

std::wstring UntitledTitle(int number) {
    return DocumentTitle(UntitledName(number));
}

std::wstring DocumentTitle(const std::wstring& fileName) {
    return fileName + kTitleEnding;
}
