#include "editing/reading_commands.h"

#include "core/editor_control.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "editing/position_report.h"
#include "editing/range_selection.h"
#include "speech/continuous_reading.h"
#include "speech/speech.h"

namespace {

struct CaretLine {
    std::wstring text;
    long caretColumn;  // from 0
};

// The caret's whole line, however long: a reading cut short would mislead.
CaretLine ReadCaretLine() {
    const Editor editor = CurrentEditor();
    const long caret = editor.GetSelection().start;
    const long line = editor.LineFromPosition(caret);
    const long lineStart = editor.LineStart(line);
    const long length = editor.LineLength(line);
    return CaretLine{editor.TextRange(lineStart, lineStart + length), caret - lineStart};
}

}  // namespace

void ReadToEnd(HWND, LPARAM) {
    StartContinuousReading(EditorWindow());
}

void ReadLine(HWND, LPARAM) {
    Speak(ReadCaretLine().text, kAnswerDelayMs);
}

void ReadLineToCaret(HWND, LPARAM) {
    const CaretLine line = ReadCaretLine();
    Speak(line.text.substr(0, static_cast<size_t>(line.caretColumn)), kAnswerDelayMs);
}

void ReadLineFromCaret(HWND, LPARAM) {
    const CaretLine line = ReadCaretLine();
    const size_t column = static_cast<size_t>(line.caretColumn);
    Speak(column < line.text.size() ? line.text.substr(column) : std::wstring(), kAnswerDelayMs);
}

void ReadCaretPosition(HWND, LPARAM) {
    SpeakCaretPosition(CurrentEditor());
}

void ReadLineCount(HWND, LPARAM) {
    SpeakCount(CurrentEditor(), CountKind::kLines);
}

void ReadCharacterCount(HWND, LPARAM) {
    SpeakCount(CurrentEditor(), CountKind::kCharacters);
}

void ReadCharacterCountWithLineBreaks(HWND, LPARAM) {
    SpeakCount(CurrentEditor(), CountKind::kCharactersWithLineBreaks);
}

void ReadFileName(HWND, LPARAM) {
    Speak(DocumentFileName().empty() ? L"ファイルはロードされていません" : DocumentFileName(), kAnswerDelayMs);
}

void ReadEncoding(HWND, LPARAM) {
    Speak(EncodingSentence(DocumentEncoding()), kAnswerDelayMs);
}

void ReadSelectionState(HWND, LPARAM) {
    const Editor editor = CurrentEditor();
    if (!SpeakMarkedRangeStart(editor)) SpeakSelectionState(editor);
}
