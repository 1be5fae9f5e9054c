#pragma once
// The user's settings: numbered values under HKCU "Software\Temmaku\Orinda",
// shared by every instance (the last writer wins). Each value is declared
// once in settings.cpp with its name, default and the moments it is written.
#include <string>

struct Settings {
    int checkUpdatesAtStart = 1;        // Option1
    int restoreCaretFromHistory = 1;    // Option2
    int wordWrap = 0;                   // Option3
    int inputMethodInEditor = 0;        // Option4
    int inputMethodInSearchDialogs = 0; // Option5
    std::wstring newDocumentFolder;     // Option6
    int autoEnableKeypadPlayer = 1;     // Option7
    int autoPlayOpenedAudio = 1;        // Option8
    int playerVolume = 15;              // Option9
    int speechEngine = 0;               // Option16
    int recordingVoice = 0;             // Option21
    int recordingVolume = 20;           // Option22
    int recordingSpeed = 10;            // Option23
    int recordingPitch = 10;            // Option24
    std::wstring recordingFolder;       // Option25
    int recordingBitRate = 0;           // Option26
    int openFolderAfterRecording = 0;   // Option27
    std::wstring findTerm;              // Option31
    std::wstring replaceFindTerm;       // Option32
    std::wstring replaceWith;           // Option33
    std::wstring regexFindPattern;      // Option34
    std::wstring regexReplacePattern;   // Option35
    std::wstring regexReplaceWith;      // Option36
};

// Groups of values that are written together.
enum SettingGroup : unsigned {
    kStartupValues = 1u << 0,   // first-run defaults, loaded when the window is made
    kLateStartupValues = 1u << 1, // read later in start-up (folder and search terms)
    kSavedAtClose = 1u << 2,
    kSpeechDialogValues = 1u << 3,
    kOptionsDialogValues = 1u << 4,
};

extern const wchar_t kSettingsKey[];

Settings& CurrentSettings();

// On the first start (the key did not exist) write the defaults. Returns
// whether the key was created now.
bool WriteFirstRunDefaults();
// Read the given group; a value that is missing or unreadable keeps its
// default.
void LoadSettings(SettingGroup group);
// Write the given group. Failures are not reported.
void SaveSettings(SettingGroup group);
