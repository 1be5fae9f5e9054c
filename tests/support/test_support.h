#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/outside_world.h"
#include "core/paths.h"
#include "fakes/fake_log.h"

namespace testing_support {

struct SpeechCall {
    double ms;
    std::string function;  // speakText, cancelSpeech, brailleMessage, PCTKPReadExW
    std::wstring text;
};

// Whatever host the build knows, no test reaches the network or opens
// anything outside: the web calls and the shell's opening fail the test,
// and there is no maker's site. A test that expects such a call installs
// its own stand-in.
void InstallOutsideStandIns();
// The outside world as it was before: for the one test of the real request,
// against a server on the loopback address.
const OutsideWorld& RealOutsideWorld();

void ClearSpeechLog();
std::vector<SpeechCall> ReadSpeechLog();
std::vector<std::wstring> SpokenTexts(const char* function = "speakText");
bool WaitForSpeech(const std::wstring& text, unsigned timeoutMs, const char* function = "speakText");
// How long after `since` (fake::NowMs, the clock of the log's stamps) the
// text was first spoken, waiting for it as WaitForSpeech does; negative when
// it never came. A millisecond is added: the sleep of the delay and the
// stamps round the same time differently.
double SpeechDelay(const std::wstring& text, double since, unsigned timeoutMs = 3000);
// Everything NVDA was given: the first answer may be late on a busy machine,
// and then the step has to settle (Settle).
std::vector<std::wstring> Heard();
// Nothing was spoken, shown in braille or read by PC-Talker once the last
// step has settled (Settle).
bool NothingHeard();
// Pump until this thread has nothing queued and no answer waits out its
// delay: whatever the last step set off on this thread has then been said.
bool Settle();
// The stand-in libraries as every test starts: NVDA running, quick and
// answering, PC-Talker running.
void ResetFakeSpeech();

bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs);
inline void PumpMessages(unsigned ms) { PumpUntil([] { return false; }, ms); }

// Press and release keys as the user would: all go down in order, then up in
// reverse order.
void PressKeys(std::initializer_list<WORD> keys);

// When a dialog with this title appears on this thread, run `answer` on it.
void AnswerDialog(const std::wstring& title, std::function<void(HWND)> answer);
// When a dialog or message box with this title appears, press `button`
// (posted, so that the dialog ends from its own message loop); `answered`
// notes that it came.
void AnswerWith(const std::wstring& title, int button, bool* answered = nullptr);
// Press OK on the next message box of this title, keeping its text in
// `text` (which stays as it is while no box comes).
void AnswerBoxKeepingText(const std::wstring& title, std::wstring* text);
// Type a path into the next file dialog of that title and press OK.
void AnswerFileDialog(const std::wstring& title, const std::wstring& path);
void ClickButton(HWND dialog, int id);
// The text of a dialog's control; 0xFFFF is a message box's text.
std::wstring DialogItemText(HWND dialog, int id);
inline void SendCommand(HWND window, WORD id) { SendMessageW(window, WM_COMMAND, id, 0); }

// Remove the program's settings key so that the next start is a first run.
void DeleteSettingsKey();
DWORD ReadSettingNumber(const wchar_t* name, bool* present = nullptr);
// Write one value under the settings key, creating the key if needed.
void WriteSettingNumber(const wchar_t* name, DWORD value);
void WriteSettingString(const wchar_t* name, const std::wstring& value);
struct SettingValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> bytes;
    std::wstring Text() const {  // up to the first NUL
        const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        return text.substr(0, text.find(L'\0'));
    }
};
SettingValue ReadSetting(const wchar_t* name);

inline std::wstring ExecutableFolder() { return ProgramFolder(); }

// Delete the lists, templates and backups in the test profile's data folder,
// so that a test starts with none.
void ClearDataFolder();

// A folder of its own below the temporary folder, empty at first and removed
// with all it holds.
class ScratchFolder {
public:
    explicit ScratchFolder(const wchar_t* name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};
// Write a file's bytes, over a read-only file too; read them back.
void WriteTestFile(const std::wstring& path, const std::string& bytes);
std::string FileBytes(const std::wstring& path);

// While it lives, every allocation of `bytes` or more fails with
// std::bad_alloc, on every thread, as when memory has run out.
class FailingAllocations {
public:
    explicit FailingAllocations(size_t bytes);
    ~FailingAllocations();
};

inline SYSTEMTIME SystemTime(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
    return SYSTEMTIME{year, month, 0, day, hour, minute, second, 0};
}

std::vector<std::wstring> ListBoxItems(HWND list);
// Press Delete in a list box as the user would; wait until it holds
// `linesAfter` lines.
void PressDeleteInList(HWND list, size_t linesAfter);

// A fresh main window for every test, with no settings and no lists, closed
// again afterwards.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Put text into the editor as if loaded: not modified.
    void SetEditorText(const std::wstring& text);
    void SendCommand(WORD id) { testing_support::SendCommand(window_, id); }
    HWND window_ = nullptr;

private:
    // Tests replace the outside world freely; it is put back afterwards.
    OutsideWorld outside_{};
};

class FileWindowTest : public MainWindowTest {
protected:
    std::wstring File(const wchar_t* name) const { return folder_.File(name); }
    ScratchFolder folder_{L"orinda_documents"};
};

}  // namespace testing_support
