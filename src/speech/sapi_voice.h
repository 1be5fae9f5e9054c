#pragma once
// The SAPI 5 voices: they never answer commands; they render text into WAV
// files for text recording and speak the test sentence of its settings.
#include <windows.h>

#include <string>

#include "core/outside_world.h"

// Wire the SAPI voices into the outside-world seam. Once, at process start.
void InstallSapiVoices();

// Release the settings dialog's test voice; before COM of the UI thread goes.
void ReleaseTestVoice();

// Fill a combo box with the voice names and select the first one.
void FillVoiceList(HWND combo);

// Volume within 0 to 100, rate and pitch within -10 to 10.
VoiceParameters ClampVoiceParameters(const VoiceParameters& parameters);

// Quotes, ampersands, apostrophes and angle brackets as XML entities.
std::wstring EscapeXml(const std::wstring& text);

// What is handed to the voice: the text itself for pitch 0, else the text
// escaped inside a pitch element, which must be spoken as XML.
struct SpokenText {
    std::wstring text;
    bool isXml = false;
};
SpokenText SpokenForm(const std::wstring& text, int pitch);
