#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/data_folder.h"
#include "core/window_text.h"
#include "support/instance_process.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

// An instance that another one started, found by its title.
Instance Adopt(const wchar_t* title) {
    Instance instance;
    PumpUntil([&] { return (instance.window = FindWindowW(L"Orinda", title)) != nullptr; }, 20000);
    GetWindowThreadProcessId(instance.window, &instance.process.dwProcessId);
    instance.process.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE,
                                            instance.process.dwProcessId);
    return instance;
}

// Forward and above the other instances: without a window manager the order
// of the windows settles a little after the focus.
void BringToFront(const Instance& instance) {
    SetForegroundWindow(instance.window);
    PumpUntil([&instance] {
        return GetForegroundWindow() == instance.window && FindWindowW(L"Orinda", nullptr) == instance.window;
    }, 2000);
}

TEST(Instances, UntitledNumbersFollowTheHighestShownTheSwitchRestoresTheChosenAndCloseAllAsksEachWhereOneMayStay) {
    Instance first = Start(Program());
    Instance second = Start(Program());
    Instance third = Start(Program());
    EXPECT_EQ(WindowText(first.window), L"無題1 - オリンダ");

    // The switch lists the others front-most first.
    for (const Instance* instance : {&first, &second, &third}) BringToFront(*instance);
    PostMessageW(first.window, WM_COMMAND, 544, 0);
    const HWND dialog = WaitForDialog(first, L"オリンダのウィンドウ切り替え");
    const HWND list = GetDlgItem(dialog, 101);
    EXPECT_EQ(ListBoxItems(list), (std::vector<std::wstring>{L"無題3 - オリンダ", L"無題2 - オリンダ"}));
    // Minimised only now: without a window manager Wine puts a minimised
    // window at the top of the order.
    ShowWindow(second.window, SW_MINIMIZE);
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([&second] { return !IsIconic(second.window); }, 5000));

    Close(first);
    EXPECT_EQ(WindowText(second.window), L"無題2 - オリンダ");
    // One more, started by an instance itself, takes the number after the highest shown.
    PostMessageW(second.window, WM_COMMAND, 573, 0);
    Instance fourth = Adopt(L"無題4 - オリンダ");
    TypeUnsavedText(second);
    TypeUnsavedText(fourth);

    // The close request reaches all; the third, with nothing unsaved, just goes.
    PostMessageW(second.window, WM_COMMAND, 574, 0);
    const HWND secondQuestion = WaitForDialog(second, L"保存確認");
    const HWND fourthQuestion = WaitForDialog(fourth, L"保存確認");
    ASSERT_TRUE(secondQuestion && fourthQuestion);
    PostMessageW(secondQuestion, WM_COMMAND, IDNO, 0);
    PostMessageW(fourthQuestion, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitForExit(second));
    EXPECT_TRUE(WaitForExit(third));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(fourthQuestion); }, 10000));
    HandledSoFar(fourth);
    EXPECT_TRUE(IsWindow(fourth.window));

    PostMessageW(fourth.window, WM_CLOSE, 0, 0);
    if (const HWND question = WaitForDialog(fourth, L"保存確認")) PostMessageW(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(WaitForExit(fourth));
    for (Instance* instance : {&second, &third, &fourth}) Close(*instance);
}

// NVDA chosen: heard through its library beside the program.
TEST(Instances, AFileNamedRelativeToTheCurrentFolderOpensAndNvdaAnswers) {
    DeleteSettingsKey();
    WriteSettingNumber(L"Option16", 2);
    const ScratchFolder folder(L"orinda-relative");
    WriteTestFile(folder.File(L"note.txt"), "text");
    Instance instance = Start(Program(), L"note.txt", folder.Path().c_str(), L"note.txt");
    EXPECT_EQ(WindowText(instance.window), L"note.txt - オリンダ");

    ClearSpeechLog();
    BringToFront(instance);
    PressKeys({VK_CONTROL, '7'});
    EXPECT_TRUE(WaitForSpeech(L"1行1文字", 3000));
    Close(instance);
    DeleteSettingsKey();
}

int CopiesLeft() {
    std::error_code error;
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(DataFolder() + L"\\Recovery", error))
        count += entry.path().extension() == L".txt";
    return count;
}

TEST(RecoveryInstances, AKilledInstancesTextComesBackAndNothingIsOfferedForARunningOrClosedOne) {
    ClearDataFolder();
    Instance killed = Start(Program());
    TypeUnsavedText(killed);
    ASSERT_TRUE(PumpUntil([] { return CopiesLeft() == 1; }, 20000));
    Instance beside = Start(Program());
    ASSERT_TRUE(beside.window);
    // Start returns once the instance waits for input: by then a question at
    // start would be showing.
    EXPECT_EQ(FindWindowW(L"#32770", L"復元確認"), nullptr);
    Close(beside);

    TerminateProcess(killed.process.hProcess, 1);
    ASSERT_TRUE(WaitForExit(killed));
    Close(killed);
    Instance restarted = Start(Program());
    const HWND question = WaitForDialog(restarted, L"復元確認");
    EXPECT_EQ(DialogItemText(question, 0xFFFF), L"保存されずに終了したテキストがあります。\n復元しますか？");
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    // The text arrives in a fresh editor control, which answers another process only WM_GETTEXT itself.
    wchar_t text[16] = {};
    EXPECT_TRUE(PumpUntil([&] {
        SendMessageW(FindWindowExW(restarted.window, nullptr, L"RICHEDIT50W", nullptr), WM_GETTEXT, 16,
                     reinterpret_cast<LPARAM>(text));
        return std::wstring(text) == L"x";
    }, 10000));

    PostMessageW(restarted.window, WM_CLOSE, 0, 0);
    if (const HWND saveQuestion = WaitForDialog(restarted, L"保存確認"))
        PostMessageW(saveQuestion, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(WaitForExit(restarted));
    Close(restarted);
    EXPECT_EQ(CopiesLeft(), 0);
}

}  // namespace
