#pragma once
// Continuous reading: a worker reads the document aloud line by line from the
// caret's line to the end, moving the caret along, and ends with "終わり".
// It is stopped cooperatively: after a stop it neither starts another line
// nor moves the caret. With NVDA not answering it ends on the line it could
// not read, without "終わり".
#include <windows.h>

// The reading flag: while it is set almost every command is ignored.
bool IsReading();

// Command 583. Does nothing when no speech engine is chosen, or while a
// stopped worker has not left yet (a screen reader holds it). UI thread.
void StartContinuousReading(HWND editorControl);

// End the reading at once and put the caret at the start of the line before
// the one being read (the first line stays on the first line). UI thread.
void StopReading();

// Run `action` once on the UI thread when the reading in progress ends,
// stopped or read to its end. A later call replaces an action not yet run.
void RunWhenReadingEnds(void (*action)());

// Wait up to `timeoutMs` for a stopped worker to leave, still answering the
// messages it sends meanwhile. Before the speech libraries go away: false
// when the worker is still running (and may still be inside one).
bool WaitForReadingWorker(unsigned timeoutMs);

// Longest line read at once, in UTF-16 units.
constexpr size_t kMaxReadLineUnits = 3072;
