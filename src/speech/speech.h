#pragma once
// The one path through which every answer is spoken or shown in braille.
#include <string>

enum SpeechEngineChoice : int {
    kNoSpeech = 0,
    kPcTalker = 1,
    kNvda = 2,
};

// Delays of `Speak`, in ms. An ordinary answer waits a little, so that the
// screen reader's own echo of the key is over; reports asked for are spoken
// at once; the end of a text recording waits for its dialog to close.
constexpr unsigned kAnswerDelayMs = 100;
constexpr unsigned kAtOnce = 0;
constexpr unsigned kAfterDialogDelayMs = 300;

// Work over more than this many units of text, or on a file of more than
// this many bytes, can take seconds: it says at once that it has started.
constexpr size_t kLongWorkUnits = 1000000;
constexpr unsigned long long kLongReadBytes = 1048576;

// Longest message kept, in UTF-16 units (the buffer holds one more for NUL).
constexpr size_t kMaxMessageUnits = 10239;

// Hand a message to the chosen engine. With NVDA it is spoken after `delayMs`
// on a worker, and of messages given within one delay only the latest is
// heard; with PC-Talker the caller is held for the delay. Any thread.
void Speak(const std::wstring& text, unsigned delayMs);

// Say `cue` ("読み込んでいます", "保存しています", ...) before work this
// thread is about to start, so that the user hears the key was taken.
void SpeakProgressCue(const wchar_t* cue);

// A message for NVDA is still waiting out its delay: it has been neither
// spoken nor replaced by a newer one.
bool IsSpeechWaiting();

int SpeechEngine();
// Choosing PC-Talker loads its library (until then it is not needed).
void SetSpeechEngine(int engine);

bool IsBrailleOn();
// Command 558.
void ToggleBraille();

// The message as kept for the speech worker: cut to kMaxMessageUnits without
// splitting a surrogate pair.
std::wstring LimitMessage(const std::wstring& text);

class Editor;
// "%d行%d文字": the common answer of every command that moves the caret.
void SpeakCaretPosition(const Editor& editor);
