#include "core/settings.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <iterator>

#include "core/paths.h"
#include "core/profile.h"
#include "core/text_units.h"

namespace {

enum class StringDefault { Empty, DocumentsFolder };

struct NumberSetting {
    const wchar_t* name;
    int Settings::*field;
    int defaultValue;
    unsigned groups;
};

struct StringSetting {
    const wchar_t* name;
    std::wstring Settings::*field;
    StringDefault defaultValue;
    unsigned groups;
};

constexpr unsigned kFirstRun = kStartupValues;
constexpr unsigned kOptions = kOptionsDialogValues;

const NumberSetting kNumbers[] = {
    {L"Option1", &Settings::checkUpdatesAtStart, 1, kFirstRun | kOptions},
    {L"Option2", &Settings::restoreCaretFromHistory, 1, kFirstRun | kOptions},
    {L"Option3", &Settings::wordWrap, 0, kFirstRun | kSavedAtClose | kOptions},
    {L"Option4", &Settings::inputMethodInEditor, 0, kFirstRun | kOptions},
    {L"Option5", &Settings::inputMethodInSearchDialogs, 0, kFirstRun | kOptions},
    {L"Option7", &Settings::autoEnableKeypadPlayer, 1, kFirstRun | kOptions},
    {L"Option8", &Settings::autoPlayOpenedAudio, 1, kFirstRun | kOptions},
    {L"Option9", &Settings::playerVolume, 15, kFirstRun | kSavedAtClose},
    {L"Option16", &Settings::speechEngine, 0, kFirstRun | kSpeechDialogValues},
    {L"Option21", &Settings::recordingVoice, 0, kFirstRun | kRecordingDialogValues},
    {L"Option22", &Settings::recordingVolume, 20, kFirstRun | kRecordingDialogValues},
    {L"Option23", &Settings::recordingSpeed, 10, kFirstRun | kRecordingDialogValues},
    {L"Option24", &Settings::recordingPitch, 10, kFirstRun | kRecordingDialogValues},
    {L"Option26", &Settings::recordingBitRate, 0, kFirstRun | kRecordingDialogValues},
    {L"Option27", &Settings::openFolderAfterRecording, 0, kFirstRun | kRecordingDialogValues},
};

const StringSetting kStrings[] = {
    {L"Option6", &Settings::newDocumentFolder, StringDefault::DocumentsFolder, kLateStartupValues | kOptions},
    {L"Option25", &Settings::recordingFolder, StringDefault::DocumentsFolder, kFirstRun | kRecordingDialogValues},
    {L"Option31", &Settings::findTerm, StringDefault::Empty, kLateStartupValues | kSavedAtClose},
    {L"Option32", &Settings::replaceFindTerm, StringDefault::Empty, kLateStartupValues | kSavedAtClose},
    {L"Option33", &Settings::replaceWith, StringDefault::Empty, kLateStartupValues | kSavedAtClose},
    {L"Option34", &Settings::regexFindPattern, StringDefault::Empty, kLateStartupValues | kSavedAtClose},
    {L"Option35", &Settings::regexReplacePattern, StringDefault::Empty, kLateStartupValues | kSavedAtClose},
    {L"Option36", &Settings::regexReplaceWith, StringDefault::Empty, kLateStartupValues | kSavedAtClose},
};

// Before anything is read, every value is its default (folders stay empty
// until a read resolves them: the shell may not be up yet).
Settings DefaultSettings() {
    Settings settings{};
    for (const auto& setting : kNumbers) settings.*setting.field = setting.defaultValue;
    return settings;
}

Settings g_settings = DefaultSettings();

std::wstring DefaultString(StringDefault kind) {
    return kind == StringDefault::DocumentsFolder ? SpecialFolder(CSIDL_PERSONAL) : std::wstring();
}

void WriteNumber(HKEY key, const wchar_t* name, int value) {
    const DWORD data = static_cast<DWORD>(value);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

// Strings are stored as the whole 261-unit buffer (522 bytes); everything
// after the terminator is zero so no stray memory reaches the registry.
void WriteFixedString(HKEY key, const wchar_t* name, const std::wstring& value) {
    wchar_t buffer[kPathBufferUnits] = {};
    const std::wstring_view kept = CutToUnits(value, kMaxPathUnits);
    std::copy(kept.begin(), kept.end(), buffer);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(buffer), sizeof buffer);
}

bool ReadNumber(HKEY key, const wchar_t* name, int& value) {
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
        return false;
    value = static_cast<int>(data);
    return true;
}

bool ReadFixedString(HKEY key, const wchar_t* name, std::wstring& value) {
    wchar_t buffer[kPathBufferUnits] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    buffer[kMaxPathUnits] = L'\0';
    value = buffer;
    return true;
}

}  // namespace

Settings& CurrentSettings() {
    return g_settings;
}

bool WriteFirstRunDefaults(const std::function<int()>& runningSpeechEngine) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKey().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return false;
    const bool created = disposition == REG_CREATED_NEW_KEY;
    if (created) {
        for (const auto& setting : kNumbers) {
            if (!(setting.groups & kFirstRun)) continue;
            const bool engine = setting.field == &Settings::speechEngine;
            WriteNumber(key, setting.name, engine ? runningSpeechEngine() : setting.defaultValue);
        }
        for (const auto& setting : kStrings)
            if (setting.groups & kFirstRun) WriteFixedString(key, setting.name, DefaultString(setting.defaultValue));
    }
    RegCloseKey(key);
    return created;
}

void LoadSettings(SettingGroup group) {
    for (const auto& setting : kNumbers)
        if (setting.groups & group) g_settings.*setting.field = setting.defaultValue;
    for (const auto& setting : kStrings)
        if (setting.groups & group) g_settings.*setting.field = DefaultString(setting.defaultValue);

    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey().c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    for (const auto& setting : kNumbers)
        if (setting.groups & group) ReadNumber(key, setting.name, g_settings.*setting.field);
    for (const auto& setting : kStrings) {
        if (!(setting.groups & group)) continue;
        std::wstring& value = g_settings.*setting.field;
        // A stored empty folder means "not chosen": the default folder stands.
        if (ReadFixedString(key, setting.name, value) && value.empty())
            value = DefaultString(setting.defaultValue);
    }
    RegCloseKey(key);
}

void SaveSettings(SettingGroup group) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKey().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    for (const auto& setting : kNumbers)
        if (setting.groups & group) WriteNumber(key, setting.name, g_settings.*setting.field);
    for (const auto& setting : kStrings)
        if (setting.groups & group) WriteFixedString(key, setting.name, g_settings.*setting.field);
    RegCloseKey(key);
}
