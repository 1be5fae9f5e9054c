#pragma once
// NVDA's controller client library, loaded at run time so that the program
// starts and stays silent where it is missing. Each export is looked up on
// its own: not every edition of the library has nvdaController_isSpeaking.
#include <functional>
#include <string>

// The library's name up to NVDA 2023 and, since 2024.1, the name in the
// download's x86 folder.
extern const wchar_t kNvdaLibraryName[];
extern const wchar_t kNvdaLibraryNewName[];

// Load the library from the program folder only, by full path: the old name,
// else the new one. A file that does not load (a 64-bit one) counts as
// missing. Returns whether a library was loaded.
bool LoadNvdaClient(const std::wstring& programFolder);
// Load one given library file in place of the current one (the old one stays
// mapped and its entry points as they were: detached speech workers may
// still be inside it).
bool LoadNvdaClientFrom(const std::wstring& libraryPath);

bool NvdaClientLoaded();
// NVDA itself says it runs (the library's own test); false without the test.
bool NvdaReportsRunning();

// Whether NVDA can be reached: its library is loaded and, where the library
// can tell, NVDA is running.
bool NvdaAnswers();
// Hand NVDA a text; false when it did not take it (not running, no library).
bool NvdaSpeak(const std::wstring& text);
void NvdaCancel();
void NvdaBraille(const std::wstring& text);

enum class SpeechWait { kSpoken, kStopped, kNoAnswer };
// Wait until NVDA has finished speaking `text`, checking `stopRequested`
// between polls. Without the is-speaking export the wait is an estimate of
// the speaking time. Every wait is bounded, and an error from NVDA (not
// running) ends it at once with kNoAnswer.
SpeechWait WaitForNvdaSilence(const std::wstring& text, const std::function<bool()>& stopRequested);

// How long a line takes to speak at NVDA's usual Japanese rate, in ms.
unsigned EstimatedSpeakingMs(const std::wstring& text);

// The longest any wait for the end of speech may last, in ms.
unsigned SpeakingWaitLimitMs(const std::wstring& text);
