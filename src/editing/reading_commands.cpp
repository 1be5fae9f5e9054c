#include "editing/reading_commands.h"

#include "app/editor_control.h"
#include "editing/position_report.h"
#include "speech/continuous_reading.h"

void ReadToEnd(HWND, LPARAM) {
    StartContinuousReading(EditorWindow());
}

void ReadCaretPosition(HWND, LPARAM) {
    SpeakCaretPosition(CurrentEditor());
}
