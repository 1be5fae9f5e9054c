#include "editing/open_url.h"

#include <algorithm>

#include "core/editor_control.h"
#include "core/outside_world.h"

namespace {

constexpr std::wstring_view kUrlEnds = L" \u3000\t\r\n<>()[]{}\"'|\\";

size_t Distance(size_t a, size_t b) {
    return a > b ? a - b : b - a;
}

}  // namespace

std::wstring UrlNearColumn(std::wstring_view line, size_t column) {
    size_t best = std::wstring_view::npos;
    for (size_t from = 0;;) {
        const size_t http = line.find(L"http://", from);
        const size_t https = line.find(L"https://", from);
        const size_t found = std::min(http, https);
        if (found == std::wstring_view::npos) break;
        if (best == std::wstring_view::npos || Distance(column, found) < Distance(column, best)) best = found;
        from = found + 7;
    }
    if (best == std::wstring_view::npos) return {};
    const std::wstring_view url = line.substr(best, line.find_first_of(kUrlEnds, best) - best);
    if (url.size() > kMaxUrlUnits || url.size() < 10) return {};
    if (url.find(L"://") == std::wstring_view::npos || url.find(L'.') == std::wstring_view::npos) return {};
    return std::wstring(url);
}

void OpenUrlAtCaret(HWND, LPARAM) {
    const Editor editor = CurrentEditor();
    const long caret = editor.GetSelection().start;
    const long line = editor.LineFromPosition(caret);
    if (editor.LineLength(line) < 2) return;
    const std::wstring url =
        UrlNearColumn(editor.LineText(line, kMaxUrlLineUnits), static_cast<size_t>(caret - editor.LineStart(line)));
    if (!url.empty()) Outside().shellOpen(url);
}
