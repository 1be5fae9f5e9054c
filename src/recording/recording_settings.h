#pragma once
// Command 553: the voice, volume, rate and pitch of text recording, the
// folder that receives the recordings, the MP3 bit rate and whether the
// folder opens afterwards.
#include <windows.h>

#include <string>

#include "core/outside_world.h"

// Where lame.exe is looked for (beside the program); set at start.
void SetEncoderPath(const std::wstring& path);
const std::wstring& EncoderPath();
// The encoder counts as present when it can be opened for reading.
bool IsEncoderPresent();

// The voice stored by its place in the voice list becomes the recording
// voice, or the system's default voice when there is no such place: at
// start, the choice is left until the voice is first needed.
void ChooseRecordingVoiceWhenNeeded();
// The voice's whole name; empty means the system's default voice.
const std::wstring& RecordingVoice();
VoiceParameters RecordingVoiceParameters();
// In kbit/s; a stored index outside the list counts as its first entry.
int RecordingBitRate();

void ShowRecordingSettings(HWND mainWindow, LPARAM);
