#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "app/main_window.h"
#include "core/settings.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

constexpr size_t kFixedStringBytes = 522;  // 261 units, whatever the text

class SettingsStore : public MainWindowTest {};

TEST_F(SettingsStore, FirstStartWritesTheDefaultsCloseTheChangesAsFixedStringsAndALaterStartReadsWhatItCan) {
    // The other numbers, written by the same loop, are read back by the options,
    // recording and screen reader tests.
    EXPECT_EQ(ReadSettingNumber(L"Option9"), 15u);

    // The folder itself is checked with the recording settings, which show it.
    const SettingValue folder = ReadSetting(L"Option25");
    EXPECT_EQ(folder.type, static_cast<DWORD>(REG_SZ));
    for (size_t byte = (folder.Text().size() + 1) * 2; byte < folder.bytes.size(); ++byte)
        ASSERT_EQ(folder.bytes[byte], 0) << "byte " << byte << " after the terminator";

    for (const wchar_t* name : {L"Option31", L"Option32", L"Option33", L"Option34", L"Option35", L"Option36"})
        EXPECT_FALSE(ReadSetting(name).present) << name;

    // Closing writes the search terms as fixed strings.
    CurrentSettings().regexReplaceWith = L"置換後";
    // Too long for the buffer: cut there, but never within a character.
    CurrentSettings().findTerm = std::wstring(259, L'a') + L"\U0001F600tail";
    SendCommand(kCmdExit);
    for (const wchar_t* name : {L"Option31", L"Option32", L"Option33", L"Option34", L"Option35", L"Option36"})
        EXPECT_EQ(ReadSetting(name).bytes.size(), kFixedStringBytes) << name;
    EXPECT_EQ(ReadSetting(L"Option36").Text(), L"置換後");
    EXPECT_EQ(ReadSetting(L"Option31").Text(), std::wstring(259, L'a'));
    EXPECT_FALSE(ReadSetting(L"Option6").present);

    // Missing and mistyped values keep their defaults.
    DeleteSettingsKey();
    WriteSettingString(L"Option16", L"2");
    WriteSettingString(L"Option31", std::wstring(400, L'x'));
    window_ = CreateMainWindow(GetModuleHandleW(nullptr), L"");
    ASSERT_NE(window_, nullptr);
    EXPECT_EQ(CurrentSettings().speechEngine, 0);
    EXPECT_EQ(CurrentSettings().findTerm, L"");
    SendCommand(kCmdExit);
    EXPECT_EQ(ReadSettingNumber(L"Option9"), 15u);
    EXPECT_FALSE(ReadSetting(L"Option1").present) << "defaults are written on the first start only";
}

}  // namespace
