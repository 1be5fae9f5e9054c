#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "core/profile.h"
#include "core/app_window.h"
#include "core/paths.h"
#include "core/settings.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

struct RawValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> bytes;
};

RawValue ReadRaw(const wchar_t* name) {
    RawValue value;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.present = true;
        value.bytes.resize(size);
        RegQueryValueExW(key, name, nullptr, &value.type, value.bytes.data(), &size);
    }
    RegCloseKey(key);
    return value;
}

void CloseWindowAndPump(HWND window) {
    SendMessageW(window, WM_CLOSE, 0, 0);
    PumpMessages(20);
}

class SettingsStore : public MainWindowTest {};

TEST_F(SettingsStore, FirstStartWritesTheDefaultsAndLeavesTheRestAbsent) {
    const struct {
        const wchar_t* name;
        DWORD value;
    } numbers[] = {{L"Option1", 1},  {L"Option2", 1},  {L"Option3", 0},  {L"Option4", 0},  {L"Option5", 0},
                   {L"Option7", 1},  {L"Option8", 1},  {L"Option9", 15}, {L"Option16", 0}, {L"Option21", 0},
                   {L"Option22", 20}, {L"Option23", 10}, {L"Option24", 10}, {L"Option26", 0}, {L"Option27", 0}};
    for (const auto& number : numbers) {
        bool present = false;
        EXPECT_EQ(ReadSettingNumber(number.name, &present), number.value) << number.name;
        EXPECT_TRUE(present) << number.name;
    }

    const RawValue folder = ReadRaw(L"Option25");
    ASSERT_TRUE(folder.present);
    EXPECT_EQ(folder.type, static_cast<DWORD>(REG_SZ));
    ASSERT_EQ(folder.bytes.size(), 522u);
    const std::wstring documents = SpecialFolder(CSIDL_PERSONAL);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(folder.bytes.data())), documents);
    for (size_t byte = (documents.size() + 1) * 2; byte < folder.bytes.size(); ++byte)
        ASSERT_EQ(folder.bytes[byte], 0) << "byte " << byte << " after the terminator";

    for (const wchar_t* name : {L"Option6", L"Option31", L"Option32", L"Option33", L"Option34", L"Option35",
                                L"Option36"})
        EXPECT_FALSE(ReadRaw(name).present) << name;
    EXPECT_EQ(CurrentSettings().newDocumentFolder, documents);
}

TEST_F(SettingsStore, CloseWritesWrapVolumeAndSearchTermsAsFixedStrings) {
    CurrentSettings().playerVolume = 7;
    CurrentSettings().regexReplaceWith = L"置換後";
    CloseWindowAndPump(window_);
    EXPECT_EQ(ReadSettingNumber(L"Option9"), 7u);
    EXPECT_EQ(ReadSettingNumber(L"Option3"), 0u);
    for (const wchar_t* name : {L"Option31", L"Option32", L"Option33", L"Option34", L"Option35", L"Option36"}) {
        const RawValue value = ReadRaw(name);
        EXPECT_EQ(value.bytes.size(), 522u) << name;
    }
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(ReadRaw(L"Option36").bytes.data()), L"置換後");
    EXPECT_FALSE(ReadRaw(L"Option6").present);
}

TEST(SettingsLoad, MissingAndMistypedValuesKeepTheirDefaults) {
    DeleteSettingsKey();
    WriteSettingNumber(L"Option3", 1);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey().c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    const wchar_t notANumber[] = L"2";
    RegSetValueExW(key, L"Option16", 0, REG_SZ, reinterpret_cast<const BYTE*>(notANumber), sizeof notANumber);
    const std::wstring tooLong(400, L'x');
    RegSetValueExW(key, L"Option31", 0, REG_SZ, reinterpret_cast<const BYTE*>(tooLong.c_str()),
                   static_cast<DWORD>((tooLong.size() + 1) * 2));
    RegCloseKey(key);

    const HWND window = CreateMainWindow(GetModuleHandleW(nullptr), L"");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CurrentSettings().wordWrap, 1);
    EXPECT_EQ(CurrentSettings().playerVolume, 15);
    EXPECT_EQ(CurrentSettings().speechEngine, 0);
    EXPECT_EQ(CurrentSettings().findTerm, L"");
    EXPECT_EQ(CurrentSettings().checkUpdatesAtStart, 1);
    CloseWindowAndPump(window);
    bool present = false;
    EXPECT_EQ(ReadSettingNumber(L"Option9", &present), 15u);
    EXPECT_TRUE(present);
    EXPECT_FALSE(ReadRaw(L"Option1").present) << "defaults are written on the first start only";
}

TEST(SettingsStrings, LongValuesAreCutToTheBufferWithoutSplittingACharacter) {
    DeleteSettingsKey();
    std::wstring term(259, L'a');
    term += L"\U0001F600tail";
    CurrentSettings().findTerm = term;
    SaveSettings(kSavedAtClose);
    const RawValue value = ReadRaw(L"Option31");
    ASSERT_EQ(value.bytes.size(), 522u);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(value.bytes.data())), std::wstring(259, L'a'));
    DeleteSettingsKey();
}

}  // namespace
