#include "core/editor.h"

#include <richedit.h>

#include <vector>

#include "core/text_units.h"
#include "core/window_text.h"

Selection Editor::GetSelection() const {
    CHARRANGE range{};
    SendMessageW(control_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return Selection{range.cpMin, range.cpMax};
}

void Editor::Select(long start, long end) const {
    CHARRANGE range{start, end};
    SendMessageW(control_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

long Editor::LineCount() const {
    return static_cast<long>(SendMessageW(control_, EM_GETLINECOUNT, 0, 0));
}

long Editor::LineFromPosition(long position) const {
    return static_cast<long>(SendMessageW(control_, EM_EXLINEFROMCHAR, 0, position));
}

long Editor::LineStart(long line) const {
    return static_cast<long>(SendMessageW(control_, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
}

long Editor::LineLength(long line) const {
    const long start = LineStart(line);
    if (start < 0) return 0;
    const long length = static_cast<long>(SendMessageW(control_, EM_LINELENGTH, start, 0));
    return length < 0 ? 0 : length;
}

std::wstring Editor::TextRange(long start, long end) const {
    if (end <= start) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(end - start) + 1, L'\0');
    TEXTRANGEW range{{start, end}, buffer.data()};
    const auto copied = SendMessageW(control_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

std::wstring Editor::LineText(long line, size_t maxUnits) const {
    const long start = LineStart(line);
    if (start < 0) return {};
    long count = LineLength(line);
    // One unit more than kept: a pair that straddles the limit is then dropped whole.
    if (static_cast<size_t>(count) > maxUnits) count = static_cast<long>(maxUnits) + 1;
    return std::wstring(CutToUnits(TextRange(start, start + count), maxUnits));
}

bool Editor::IsEmpty() const {
    return GetWindowTextLengthW(control_) == 0;
}

std::wstring Editor::Text() const {
    return WindowText(control_);
}

long Editor::TextLength() const {
    GETTEXTLENGTHEX lengthQuery{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<long>(
        SendMessageW(control_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0));
}

long Editor::LineBreakCount() const {
    // Counted with every break as CR LF, the text is one unit longer per break.
    GETTEXTLENGTHEX lengthQuery{GTL_NUMCHARS | GTL_PRECISE | GTL_USECRLF, 1200};
    const auto withCrLf = static_cast<long>(
        SendMessageW(control_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0));
    return withCrLf - TextLength();
}

std::wstring Editor::EditorText() const {
    const long length = TextLength();
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GETTEXTEX request{};
    request.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    request.flags = GT_DEFAULT;
    request.codepage = 1200;
    const auto copied = SendMessageW(control_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void Editor::SetText(const std::wstring& text) const {
    SendMessageW(control_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Editor::ReplaceSelection(const std::wstring& text) const {
    SendMessageW(control_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

namespace {

long FindInControl(HWND control, long from, long to, const std::wstring& term, bool matchCase) {
    FINDTEXTEXW find{};
    find.chrg = {from, to};
    find.lpstrText = term.c_str();
    WPARAM flags = matchCase ? FR_MATCHCASE : 0;
    if (to == -1) flags |= FR_DOWN;
    return static_cast<long>(SendMessageW(control, EM_FINDTEXTEXW, flags, reinterpret_cast<LPARAM>(&find)));
}

}  // namespace

long Editor::FindForward(long from, const std::wstring& term, bool matchCase) const {
    return FindInControl(control_, from, -1, term, matchCase);
}

long Editor::FindBackward(long from, const std::wstring& term, bool matchCase) const {
    return FindInControl(control_, from, 0, term, matchCase);
}

bool Editor::IsModified() const {
    return SendMessageW(control_, EM_GETMODIFY, 0, 0) != 0;
}

void Editor::SetModified(bool modified) const {
    SendMessageW(control_, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

bool Editor::CanUndo() const {
    return SendMessageW(control_, EM_CANUNDO, 0, 0) != 0;
}

bool Editor::IsReadOnly() const {
    return (SendMessageW(control_, EM_GETOPTIONS, 0, 0) & ECO_READONLY) != 0;
}

void Editor::SetReadOnly(bool readOnly) const {
    SendMessageW(control_, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void Editor::SetWordWrap(bool wrap) const {
    // Line width 0 wraps at the window's edge; 1 turns wrapping off.
    SendMessageW(control_, EM_SETTARGETDEVICE, 0, wrap ? 0 : 1);
}
