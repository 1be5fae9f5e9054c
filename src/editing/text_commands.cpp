#include "editing/text_commands.h"

#include "core/editor_control.h"
#include "core/settings.h"
#include "document/document_state.h"
#include "speech/speech.h"

namespace {

void ConvertSelection(Conversion conversion, const wchar_t* doneMessage) {
    const Editor editor = CurrentEditor();
    const Selection selection = editor.GetSelection();
    if (selection.IsEmpty()) {
        Speak(L"テキストが選択されていません", kAnswerDelayMs);
        return;
    }
    if (RefuseWhileLocked()) return;
    editor.ReplaceSelection(ConvertText(editor.TextRange(selection.start, selection.end), conversion));
    Speak(doneMessage, kAtOnce);
}

std::wstring MapWidth(const std::wstring& text, DWORD flag) {
    // A full-width kana with a voiced mark becomes two half-width characters.
    std::wstring mapped(text.size() * 2, L'\0');
    const int written = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flag, text.c_str(), static_cast<int>(text.size()),
                                     mapped.data(), static_cast<int>(mapped.size()));
    if (written <= 0) return text;
    mapped.resize(static_cast<size_t>(written));
    return mapped;
}

}  // namespace

std::wstring ConvertText(const std::wstring& text, Conversion conversion) {
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
    return text;
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

void PasteCommand(HWND, LPARAM) {
    SendMessageW(EditorWindow(), WM_PASTE, 0, 0);
}

void UndoCommand(HWND, LPARAM) {
    SendMessageW(EditorWindow(), WM_UNDO, 0, 0);
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
