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

TEST(Instances, UntitledNumbersFollowTheHighestShownTheSwitchRestoresTheChosenAndTheCloseRequestReachesAll) {
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
    Instance fourth = Start(Program());
    ASSERT_TRUE(HandledSoFar(fourth));
    EXPECT_EQ(WindowText(fourth.window), L"無題4 - オリンダ");

    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"OrindaSleep"), 1, 0);
    for (Instance* instance : {&second, &third, &fourth}) {
        EXPECT_TRUE(WaitForExit(*instance));
        Close(*instance);
    }
}

TEST(Instances, OneMoreStartsUntitledAndCloseAllAsksEachWhereOneMayStay) {
    Instance first = Start(Program());
    PostMessageW(first.window, WM_COMMAND, 573, 0);
    Instance second = Adopt(L"無題2 - オリンダ");
    ASSERT_TRUE(second.window && second.process.hProcess);
    TypeUnsavedText(first);
    TypeUnsavedText(second);

    PostMessageW(first.window, WM_COMMAND, 574, 0);
    const HWND firstQuestion = WaitForDialog(first, L"保存確認");
    const HWND secondQuestion = WaitForDialog(second, L"保存確認");
    ASSERT_TRUE(firstQuestion && secondQuestion);
    PostMessageW(firstQuestion, WM_COMMAND, IDNO, 0);
    PostMessageW(secondQuestion, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitForExit(first));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(secondQuestion); }, 10000));
    HandledSoFar(second);
    EXPECT_TRUE(IsWindow(second.window));

    PostMessageW(second.window, WM_CLOSE, 0, 0);
    if (const HWND question = WaitForDialog(second, L"保存確認")) PostMessageW(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(WaitForExit(second));
    for (Instance* instance : {&first, &second}) Close(*instance);
}

// NVDA chosen: heard through its library; a copy of the program without it
// still starts, and ends cleanly once the box about it is answered.
TEST(Instances, AFileNamedRelativeToTheCurrentFolderOpensAndNvdaAnswersOrACopyWithoutItStillRuns) {
    DeleteSettingsKey();
    WriteSettingNumber(L"Option16", 2);
    const ScratchFolder folder(L"orinda-relative");
    WriteTestFile(folder.File(L"note.txt"), "text");
    Instance instance = Start(Program(), L"note.txt", folder.Path().c_str(), L"note.txt");
    EXPECT_EQ(WindowText(instance.window), L"note.txt - オリンダ");

    ClearSpeechLog();
    SetForegroundWindow(instance.window);
    ASSERT_TRUE(PumpUntil([&instance] { return GetForegroundWindow() == instance.window; }, 2000));
    PressKeys({VK_CONTROL, '7'});
    EXPECT_TRUE(WaitForSpeech(L"1行1文字", 3000));
    Close(instance);

    const std::wstring program = folder.File(L"OrindaTestInstance.exe");
    ASSERT_TRUE(CopyFileW(Program().c_str(), program.c_str(), FALSE));
    instance = Start(program);
    if (const HWND box = WaitForDialog(instance, L"オリンダ")) PostMessageW(box, WM_COMMAND, IDOK, 0);
    PostMessageW(instance.window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(instance));
    DWORD exitCode = 1;
    GetExitCodeProcess(instance.process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
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

// Another process's control answers only WM_GETTEXT itself.
std::wstring EditorText(const Instance& instance) {
    wchar_t text[16] = {};
    SendMessageW(FindWindowExW(instance.window, nullptr, L"RICHEDIT50W", nullptr), WM_GETTEXT, 16,
                 reinterpret_cast<LPARAM>(text));
    return text;
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
    // The text arrives in a fresh editor control.
    EXPECT_TRUE(PumpUntil([&restarted] { return EditorText(restarted) == L"x"; }, 10000));

    PostMessageW(restarted.window, WM_CLOSE, 0, 0);
    if (const HWND saveQuestion = WaitForDialog(restarted, L"保存確認"))
        PostMessageW(saveQuestion, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(WaitForExit(restarted));
    Close(restarted);
    EXPECT_EQ(CopiesLeft(), 0);
}

}  // namespace
