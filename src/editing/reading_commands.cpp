#include "editing/reading_commands.h"

#include "app/editor_control.h"
#include "audio/keypad_player.h"
#include "document/document_state.h"
#include "editing/position_report.h"
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
    Speak(ReadCaretLine().text, 100);
}

void ReadLineToCaret(HWND, LPARAM) {
    const CaretLine line = ReadCaretLine();
    Speak(line.text.substr(0, static_cast<size_t>(line.caretColumn)), 100);
}

void ReadLineFromCaret(HWND, LPARAM) {
    const CaretLine line = ReadCaretLine();
    const size_t column = static_cast<size_t>(line.caretColumn);
    Speak(column < line.text.size() ? line.text.substr(column) : std::wstring(), 100);
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

void ReadKeypadPlayerState(HWND, LPARAM) {
    Speak(IsKeypadPlayerEnabled() ? L"テンキープレーヤー有効" : L"テンキープレーヤー無効", 0);
}

void ReadFileName(HWND, LPARAM) {
    Speak(DocumentFileName().empty() ? L"ファイルはロードされていません" : DocumentFileName(), 100);
}

std::wstring EncodingSentence(int codePage) {
    switch (codePage) {
    case kUtf16Le: return L"文字コードはUTF-16 LEです";
    case kUtf16Be: return L"文字コードはUTF-16 BEです";
    case kUtf8: return L"文字コードはUTF-8です";
    case kUtf8WithBom: return L"文字コードはUTF-8 BOM付きです";
    default: return L"文字コードはShift_JISです";
    }
}

void ReadEncoding(HWND, LPARAM) {
    Speak(EncodingSentence(DocumentEncoding()), 100);
}

void ReadSelectionState(HWND, LPARAM) {
    SpeakSelectionState(CurrentEditor());
}
