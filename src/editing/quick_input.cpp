#include "editing/quick_input.h"

#include "core/editor_control.h"
#include "core/input_dialog.h"
#include "document/document_state.h"
#include "resources/editing_ids.h"
#include "speech/speech.h"

namespace {

const wchar_t* const kListTexts[kQuickInputKinds] = {
    L"1 - 和暦の日付",     L"2 - 和暦の日付（曜日在り）", L"3 - 西暦の日付",
    L"4 - 西暦の日付（曜日在り）", L"5 - 時刻（12時間）",        L"6 - 時刻（24時間）",
};

const wchar_t* const kWeekdays[7] = {
    L"（日曜日）", L"（月曜日）", L"（火曜日）", L"（水曜日）", L"（木曜日）", L"（金曜日）", L"（土曜日）",
};

Clock g_clock = GetLocalTime;

// Day of the week of a Gregorian date, Sunday = 0, worked out from the date
// itself so that a clock's weekday field cannot contradict it.
int DayOfWeek(int year, int month, int day) {
    static const int kMonthOffsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + kMonthOffsets[(month + 11) % 12] + day) % 7;
}

std::wstring Number(int value) {
    return std::to_wstring(value);
}

struct QuickInputData {
    int kind = 1;
};

void FillQuickInputList(HWND dialog, QuickInputData&) {
    const HWND list = GetDlgItem(dialog, IDC_QUICK_INPUT_LIST);
    for (const wchar_t* text : kListTexts) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageW(list, LB_SETCURSEL, 0, 0);
}

void ReadQuickInputChoice(HWND dialog, QuickInputData& data) {
    const auto index = SendDlgItemMessageW(dialog, IDC_QUICK_INPUT_LIST, LB_GETCURSEL, 0, 0);
    data.kind = index == LB_ERR ? 1 : static_cast<int>(index) + 1;
}

}  // namespace

const wchar_t* QuickInputListText(int kind) {
    return kListTexts[kind - 1];
}

std::wstring DateTimeText(int kind, const SYSTEMTIME& now) {
    const int year = now.wYear, month = now.wMonth, day = now.wDay;
    const std::wstring date = Number(month) + L"月" + Number(day) + L"日";
    const std::wstring weekday = kWeekdays[DayOfWeek(year, month, day)];
    const std::wstring clock = L"時" + Number(now.wMinute) + L"分" + Number(now.wSecond) + L"秒";
    switch (kind) {
    case 1: return L"令和" + Number(year - 2018) + L"年" + date + L"\r\n";
    case 2: return L"令和" + Number(year - 2018) + L"年" + date + weekday + L"\r\n";
    case 3: return Number(year) + L"年" + date + L"\r\n";
    case 4: return Number(year) + L"年" + date + weekday + L"\r\n";
    case 5:
        return (now.wHour < 12 ? L"午前" + Number(now.wHour) : L"午後" + Number(now.wHour - 12)) + clock + L"\r\n";
    default: return Number(now.wHour) + clock + L"\r\n";
    }
}

void SetQuickInputClock(Clock clock) {
    g_clock = clock ? clock : GetLocalTime;
}

void InsertDateTime(const Editor& editor, int kind) {
    SYSTEMTIME now{};
    g_clock(&now);
    const std::wstring text = DateTimeText(kind, now);
    editor.ReplaceSelection(text);
    Speak(text, kAtOnce);
}

void QuickInputCommand(HWND mainWindow, LPARAM) {
    // Refused before the dialog, as every other command that writes text is.
    if (RefuseWhileLocked()) return;
    QuickInputData data;
    if (!RunInputDialog(mainWindow, L"dtDialog", data, FillQuickInputList, ReadQuickInputChoice)) return;
    const Editor editor = CurrentEditor();
    const Selection selection = editor.GetSelection();
    // The selected text stays; the date follows it.
    if (!selection.IsEmpty()) editor.PlaceCaret(selection.end);
    InsertDateTime(editor, data.kind);
}
