#include "editing/template_insertion.h"

#include <string>

#include "core/editor_control.h"
#include "core/whole_text.h"
#include "document/document_state.h"
#include "editing/text_commands.h"
#include "lists/templates.h"
#include "speech/speech.h"

void InsertTemplateCommand(HWND mainWindow, LPARAM) {
    std::wstring body;
    if (!ChooseTemplate(mainWindow, body)) return;
    // The list also copies templates, which the edit lock does not forbid:
    // only the insertion is refused.
    if (RefuseWhileLocked()) return;
    const Editor editor = CurrentEditor();
    if (!EditorCanHold(static_cast<size_t>(editor.TextLength()) + body.size(),
                       static_cast<size_t>(editor.LineCount()) + CountLines(body) - 1)) {
        SpeakChangeRefused(WholeTextChange::kTooLarge, L"挿入");
        return;
    }
    // Into a selection the template goes after it; the selected text stays.
    editor.PlaceCaret(editor.GetSelection().end);
    editor.ReplaceSelection(body);
    Speak(L"定型文を挿入しました", kAtOnce);
}
