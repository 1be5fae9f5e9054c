#pragma once
// The user's settings: numbered values under HKCU "Software\Temmaku\Orinda",
// shared by every instance (the last writer wins). Each value is declared
// once, in the table of settings.cpp, with its name, default and the moments
// it is read and written; the fields below only hold the values.
#include <functional>
#include <string>

struct Settings {
    int checkUpdatesAtStart;        // Option1
    int restoreCaretFromHistory;    // Option2
    int wordWrap;                   // Option3
    int inputMethodInEditor;        // Option4
    int inputMethodInSearchDialogs; // Option5
    std::wstring newDocumentFolder; // Option6
    int autoEnableKeypadPlayer;     // Option7
    int autoPlayOpenedAudio;        // Option8
    int playerVolume;               // Option9
    int speechEngine;               // Option16
    int recordingVoice;             // Option21
    int recordingVolume;            // Option22
    int recordingSpeed;             // Option23
    int recordingPitch;             // Option24
    std::wstring recordingFolder;   // Option25
    int recordingBitRate;           // Option26
    int openFolderAfterRecording;   // Option27
    std::wstring findTerm;          // Option31
    std::wstring replaceFindTerm;   // Option32
    std::wstring replaceWith;       // Option33
    std::wstring regexFindPattern;  // Option34
    std::wstring regexReplacePattern;// Option35
    std::wstring regexReplaceWith;  // Option36
};

// Groups of values that are written together.
enum SettingGroup : unsigned {
    kStartupValues = 1u << 0,   // first-run defaults, loaded when the window is made
    kLateStartupValues = 1u << 1, // read later in start-up (folder and search terms)
    kSavedAtClose = 1u << 2,
    kSpeechDialogValues = 1u << 3,
    kRecordingDialogValues = 1u << 4,
    kOptionsDialogValues = 1u << 5,
};


Settings& CurrentSettings();

// On the first start (the key did not exist) write the defaults, with the
// speech engine that `runningSpeechEngine` finds (asked only then). Returns
// whether the key was created now.
bool WriteFirstRunDefaults(const std::function<int()>& runningSpeechEngine);
// Read the given group; a value that is missing or unreadable keeps its
// default.
void LoadSettings(SettingGroup group);
// Write the given group. Failures are not reported.
void SaveSettings(SettingGroup group);
