#include "core/whole_text.h"

#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <optional>

#include "core/editor_control.h"
#include "core/within_memory.h"

namespace {

// Measured under Wine: the control takes about 8 KB for every line whatever
// its length, and a few hundred bytes more for every character; past what
// the process can give it, it ends the process. The real control needs a
// few bytes per character.
constexpr unsigned long long kWineBytesPerLine = 8192;
constexpr unsigned long long kWineBytesPerUnit = 200;
constexpr unsigned long long kWindowsBytesPerLine = 64;
constexpr unsigned long long kWindowsBytesPerUnit = 8;
// The program ships as a 32-bit process: a 64-bit build is held to the same
// room, so that it refuses what the users' program would.
constexpr unsigned long long kShippedAddressSpace = 4ULL << 30;

bool RunsUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Feeds a text to EM_STREAMIN with every line break as the single CR the
// control stores, so that a CR LF cut in two by the control's buffer cannot
// become two breaks, and counts what it gave.
struct StreamSource {
    const std::wstring& text;
    size_t next = 0;
    size_t given = 0;
    bool afterCr = false;
};

DWORD CALLBACK GiveText(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written) {
    auto& source = *reinterpret_cast<StreamSource*>(cookie);
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    const size_t room = static_cast<size_t>(size) / sizeof(wchar_t);
    size_t count = 0;
    while (count < room && source.next < source.text.size()) {
        wchar_t unit = source.text[source.next++];
        const bool lineFeedOfCrLf = unit == L'\n' && source.afterCr;
        source.afterCr = unit == L'\r';
        if (lineFeedOfCrLf) continue;
        if (unit == L'\n') unit = L'\r';
        out[count++] = unit;
    }
    source.given += count;
    *written = static_cast<LONG>(count * sizeof(wchar_t));
    return 0;
}

// Stream `text` into an empty control; no undo is kept of it. Whether the
// control took all of it.
bool StreamText(const Editor& editor, const std::wstring& text) {
    StreamSource source{text};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, GiveText};
    SendMessageW(editor.Handle(), EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
    SendMessageW(editor.Handle(), EM_EMPTYUNDOBUFFER, 0, 0);
    return stream.dwError == 0 && source.next == text.size() &&
           editor.TextLength() == static_cast<long>(source.given);
}

// An empty editor; the control's own delete only when no fresh control can
// be made.
void EmptyEditor() {
    if (!RenewEditorControl()) CurrentEditor().SetText(L"");
}

struct EditorState {
    std::wstring text;
    Selection selection;
    bool modified = false;
};

// The text before the last whole-text replacement, for its undo.
std::optional<EditorState> g_replaced;

std::optional<EditorState> Capture() {
    const Editor editor = CurrentEditor();
    EditorState state{editor.EditorText(), editor.GetSelection(), editor.IsModified()};
    // A failed read must not pass for the text.
    if (static_cast<long>(state.text.size()) != editor.TextLength()) return std::nullopt;
    return state;
}

bool Show(const std::wstring& text, Selection selection, bool modified) {
    if (!RenewEditorControl()) return false;
    const Editor editor = CurrentEditor();
    if (!StreamText(editor, text)) return false;
    editor.Select(selection.start, selection.end);
    editor.SetModified(modified);
    return true;
}

// Show a text, or bring back `fallback` when the control does not take it.
bool ShowOrRestore(const std::wstring& text, Selection selection, bool modified, const EditorState& fallback) {
    if (Show(text, selection, modified)) return true;
    Show(fallback.text, fallback.selection, fallback.modified);
    return false;
}

}  // namespace

size_t CountLines(std::wstring_view text) {
    size_t lines = 1;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == L'\r' || (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))) ++lines;
    return lines;
}

bool EditorCanHold(size_t units, size_t lines) {
    if (units > kEditorTextLimit) return false;
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (!GlobalMemoryStatusEx(&memory)) return true;
    const bool wine = RunsUnderWine();
    const unsigned long long needed = static_cast<unsigned long long>(units) *
                                          (wine ? kWineBytesPerUnit : kWindowsBytesPerUnit) +
                                      static_cast<unsigned long long>(lines) *
                                          (wine ? kWineBytesPerLine : kWindowsBytesPerLine);
    return needed < std::min({memory.ullAvailVirtual, memory.ullAvailPageFile, kShippedAddressSpace});
}

bool PutDocumentText(const std::wstring& text, bool readOnly) {
    g_replaced.reset();
    // Always a fresh control, even for an empty one: the control made at
    // start, while the main window was being created, loads twice as slowly
    // under Wine.
    EmptyEditor();
    const Editor editor = CurrentEditor();
    // Set before the text arrives: switching it afterwards costs a pass over the text.
    editor.SetReadOnly(readOnly);
    if (!StreamText(editor, text)) {
        EmptyEditor();
        return false;
    }
    editor.PlaceCaret(0);
    editor.SetModified(false);
    return true;
}

WholeTextChange ReplaceWholeText(const std::wstring& text, long caret) {
    if (!EditorCanHold(text.size(), CountLines(text))) return WholeTextChange::kTooLarge;
    // Its undo needs a copy of the text as it is.
    std::optional<EditorState> previous;
    if (!RunWithinMemory([&previous] { previous = Capture(); })) return WholeTextChange::kTooLarge;
    if (!previous || !ShowOrRestore(text, Selection{caret, caret}, true, *previous)) return WholeTextChange::kFailed;
    g_replaced = std::move(previous);
    return WholeTextChange::kDone;
}

bool UndoRestoresReplacedText() {
    const Editor editor = CurrentEditor();
    return g_replaced && !editor.CanUndo() && !editor.IsReadOnly();
}

void UndoEdit() {
    const Editor editor = CurrentEditor();
    if (editor.CanUndo()) {
        SendMessageW(editor.Handle(), WM_UNDO, 0, 0);
        return;
    }
    if (!UndoRestoresReplacedText()) return;
    // Without memory for the current text nothing changes: the replaced
    // text stays, and so does its undo.
    RunWithinMemory([] {
        const std::optional<EditorState> current = Capture();
        if (!current) return;
        // Saved since the replacement: the file now holds the replaced text,
        // so the text brought back differs from it.
        const bool modified = current->modified ? g_replaced->modified : true;
        if (ShowOrRestore(g_replaced->text, g_replaced->selection, modified, *current)) g_replaced.reset();
    });
}
