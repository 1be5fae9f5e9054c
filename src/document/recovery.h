#pragma once
// Recovery copies: while the document holds unsaved changes its text is kept
// in the data folder's "Recovery" folder, so that typing survives a crash, a
// killed process or a power cut. Each instance writes its own copy, beside a
// lock file that it holds open and that the system lets go of when the
// instance ends, however it ends: a copy whose lock is free belongs to an
// instance that is gone, and is offered at the next start.
#include <windows.h>

#include <string>

// What a copy holds. The text keeps CR line breaks, as the editor does; the
// caret is an editor position.
struct RecoveryContent {
    std::wstring text;
    std::wstring path;  // the document's file; empty when it was untitled
    int codePage = 0;
    long caret = 0;
};

// A copy's bytes: UTF-16 LE with its byte-order mark, a few header lines, an
// empty line, then the text with CR LF breaks.
std::string FormatRecoveryCopy(const RecoveryContent& content);
// What a copy holds; of a cut copy, as much of the text as it kept. False
// when the bytes are not a copy or its header is incomplete.
bool ParseRecoveryCopy(const std::string& bytes, RecoveryContent& content);

// The main window's timers for the copy: one fires when typing pauses, the
// other at the latest while it goes on.
constexpr UINT_PTR kRecoveryPauseTimerId = 3;
constexpr UINT_PTR kRecoveryLongestTimerId = 4;
constexpr UINT kRecoveryPauseMs = 3000;
constexpr UINT kRecoveryLongestMs = 30000;

// The editor's text changed.
void NoteTextChanged(HWND mainWindow);
// One of the two timers fired: the copy is written, or removed when the text
// holds no unsaved changes.
void OnRecoveryTimer(HWND mainWindow);
// The text was saved or dropped: this instance's copy goes.
void RemoveRecoveryCopy();
// This instance's copy, while it has one; the write of it may still be under way.
const std::wstring& OwnRecoveryCopy();
// Let a write still under way end. Returns false if it did not end in time.
bool WaitForRecoveryWrite(DWORD timeoutMs);

// At start, once a file named on the command line is loaded: ask about the
// newest copy of an instance that is gone. Yes brings its text back here, as
// an untitled document with unsaved changes, or, when a file was named on the
// command line, in a new instance; No moves the copy into the backup folder.
void OfferRecoveryCopy(HWND mainWindow, bool fileFromCommandLine);
// The command-line option of an instance started to bring a copy back.
constexpr wchar_t kRecoverOption[] = L"/recover";
// Bring back the copy at `path` without asking: the user already said yes.
void RecoverCopy(const std::wstring& path);
