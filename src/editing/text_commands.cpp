#include "editing/text_commands.h"

#include <algorithm>
#include <optional>

#include "core/clipboard.h"
#include "core/editor_control.h"
#include "core/settings.h"
#include "core/whole_text.h"
#include "core/within_memory.h"
#include "document/document_state.h"
#include "speech/speech.h"

namespace {

// Put `text` in place of the selection as one undoable step; through a fresh
// control when the selection is the whole text. Nothing changes unless kDone.
WholeTextChange PutInPlaceOfSelection(const Editor& editor, const std::wstring& text) {
    const Selection selection = editor.GetSelection();
    const long length = editor.TextLength();
    // Ctrl+A takes the control's closing mark into the selection: it is not text.
    const long end = std::min(selection.end, length);
    // The control keeps the caret within the text: past its end means at its end.
    if (selection.start == 0 && end == length && length > 0)
        return ReplaceWholeText(text, static_cast<long>(text.size()));
    if (!EditorCanHold(static_cast<size_t>(length - (end - selection.start)) + text.size(),
                       static_cast<size_t>(editor.LineCount()) + CountLines(text) - 1))
        return WholeTextChange::kTooLarge;
    editor.ReplaceSelection(text);
    return WholeTextChange::kDone;
}

void ConvertSelection(Conversion conversion, const wchar_t* doneMessage) {
    const Editor editor = CurrentEditor();
    const Selection selection = editor.GetSelection();
    if (selection.IsEmpty()) {
        Speak(L"テキストが選択されていません", kAnswerDelayMs);
        return;
    }
    if (RefuseWhileLocked()) return;
    const long end = std::min(selection.end, editor.TextLength());
    if (static_cast<size_t>(end - selection.start) > kLongWorkUnits) SpeakProgressCue(L"変換しています");
    // Hiragana have no half-width form, "ABC" no upper case to take: success
    // would be a false answer.
    bool unchanged = false;
    WholeTextChange change = WholeTextChange::kTooLarge;
    RunWithinMemory([&] {
        const std::wstring selected = editor.TextRange(selection.start, end);
        const std::optional<std::wstring> converted = ConvertText(selected, conversion);
        unchanged = !converted || *converted == selected;
        if (!unchanged) change = PutInPlaceOfSelection(editor, *converted);
    });
    if (unchanged) Speak(L"変換できませんでした", kAnswerDelayMs);
    else if (change == WholeTextChange::kDone) Speak(doneMessage, kAtOnce);
    else SpeakChangeRefused(change, L"変換");
}

std::optional<std::wstring> MapWidth(const std::wstring& text, DWORD flag) {
    const int length = static_cast<int>(text.size());
    // Asked first: a full-width kana with a voiced mark becomes two half-width characters.
    const int size = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flag, text.c_str(), length, nullptr, 0);
    if (size <= 0) return std::nullopt;
    std::wstring mapped(static_cast<size_t>(size), L'\0');
    if (LCMapStringW(LOCALE_SYSTEM_DEFAULT, flag, text.c_str(), length, mapped.data(), size) != size)
        return std::nullopt;
    return mapped;
}

}  // namespace

void SpeakChangeRefused(WholeTextChange change, const wchar_t* action) {
    if (change == WholeTextChange::kDone) return;
    const std::wstring reason = change == WholeTextChange::kTooLarge ? L"テキストが長くなりすぎるため" : L"";
    Speak(reason + action + L"できませんでした", kAnswerDelayMs);
}

std::optional<std::wstring> ConvertText(const std::wstring& text, Conversion conversion) {
    if (text.empty()) return text;
    switch (conversion) {
    case Conversion::kUpperCase:
    case Conversion::kLowerCase: {
        std::wstring converted = text;
        const DWORD length = static_cast<DWORD>(converted.size());
        if (conversion == Conversion::kUpperCase)
            CharUpperBuffW(converted.data(), length);
        else
            CharLowerBuffW(converted.data(), length);
        return converted;
    }
    case Conversion::kFullWidth: return MapWidth(text, LCMAP_FULLWIDTH);
    case Conversion::kHalfWidth: return MapWidth(text, LCMAP_HALFWIDTH);
    }
    return std::nullopt;
}

void SelectAllCommand(HWND, LPARAM) {
    // Not to the end mark: the control would take its closing paragraph
    // mark into the selection and so into the clipboard.
    const Editor editor = CurrentEditor();
    editor.Select(0, editor.TextLength());
}

void CopyCommand(HWND, LPARAM) {
    SendMessageW(EditorWindow(), WM_COPY, 0, 0);
}

void CutCommand(HWND, LPARAM) {
    SendMessageW(EditorWindow(), WM_CUT, 0, 0);
}

// The control's own paste is not used: in plain-text mode Wine's replaces
// the whole text by the clipboard's.
void PasteCommand(HWND mainWindow, LPARAM) {
    const Editor editor = CurrentEditor();
    // Read-only text takes nothing, as with the control's own paste.
    if (editor.IsReadOnly()) return;
    WholeTextChange change = WholeTextChange::kTooLarge;
    RunWithinMemory([&] {
        const std::optional<std::wstring> text = ClipboardText(mainWindow);
        change = text && !text->empty() ? PutInPlaceOfSelection(editor, *text) : WholeTextChange::kDone;
    });
    SpeakChangeRefused(change, L"貼り付け");
}

void UndoCommand(HWND, LPARAM) {
    UndoEdit();
}

void ToUpperCaseCommand(HWND, LPARAM) {
    ConvertSelection(Conversion::kUpperCase, L"大文字に変換しました");
}

void ToLowerCaseCommand(HWND, LPARAM) {
    ConvertSelection(Conversion::kLowerCase, L"小文字に変換しました");
}

void ToFullWidthCommand(HWND, LPARAM) {
    ConvertSelection(Conversion::kFullWidth, L"全角に変換しました");
}

void ToHalfWidthCommand(HWND, LPARAM) {
    ConvertSelection(Conversion::kHalfWidth, L"半角に変換しました");
}

void ToggleEditLock(HWND, LPARAM) {
    if (!IsLockToggleAllowed()) return;
    const bool editable = !IsEditable();
    CurrentEditor().SetReadOnly(!editable);
    SetEditable(editable);
    Speak(editable ? L"編集許可" : L"編集禁止", kAnswerDelayMs);
}

void ToggleWordWrap(HWND, LPARAM) {
    Settings& settings = CurrentSettings();
    // Only 1 means wrap, as at start-up; any other stored value counts as off.
    const bool wrap = settings.wordWrap != 1;
    settings.wordWrap = wrap ? 1 : 0;
    CurrentEditor().SetWordWrap(wrap);
    Speak(wrap ? L"折り返し表示オン" : L"折り返し表示オフ", kAtOnce);
}
