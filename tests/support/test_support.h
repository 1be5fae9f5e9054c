#pragma once
// What the window tests share: the speech log of the stand-in libraries,
// message pumping, real key presses, dialogs answered by a timer, and a
// fresh main window per test.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

struct SpeechCall {
    double ms;
    std::string function;  // speakText, cancelSpeech, brailleMessage, PCTKPReadExW
    std::wstring text;
};

void ClearSpeechLog();
std::vector<SpeechCall> ReadSpeechLog();
// The texts of one function's calls, in order.
std::vector<std::wstring> SpokenTexts(const char* function = "speakText");
// Pump messages until `function` was called with `text`, or the time is up.
bool WaitForSpeech(const std::wstring& text, unsigned timeoutMs, const char* function = "speakText");

void PumpMessages(unsigned ms);
bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs);

// Press and release keys as the user would: all go down in order, then up in
// reverse order.
void PressKeys(std::initializer_list<WORD> keys);

// When a dialog with this title appears on this thread, run `answer` on it.
void AnswerDialog(const std::wstring& title, std::function<void(HWND)> answer);
// When a dialog or message box with this title appears, press `button`.
void AnswerWith(const std::wstring& title, int button);

// Remove the program's settings key so that the next start is a first run.
void DeleteSettingsKey();
DWORD ReadSettingNumber(const wchar_t* name, bool* present = nullptr);
// Write one number under the settings key, creating the key if needed.
void WriteSettingNumber(const wchar_t* name, DWORD value);

std::wstring ExecutableFolder();

// The texts of a list box's items, in order.
std::vector<std::wstring> ListBoxItems(HWND list);

// A fresh main window for every test, closed again afterwards.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Put text into the editor as if loaded: not modified.
    void SetEditorText(const std::wstring& text);
    HWND window_ = nullptr;
};

}  // namespace testing_support
