#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "app/commands.h"
#include "core/editor_control.h"
#include "core/instance_requests.h"
#include "core/outside_world.h"
#include "core/window_text.h"
#include "document/backup.h"
#include "document/document_io.h"
#include "document/document_state.h"
#include "lists/file_history.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

using Backup = FileWindowTest;

TEST_F(Backup, SafetyCopiesAreWrittenSilentlyUnderTheirOwnNames) {
    EXPECT_EQ(BackupNameOf(SystemTime(2026, 1, 2, 3, 4, 5)), L"2026年01月02日03時04分05秒");
    // An instance started in the same second has claimed the name already.
    const std::wstring sharedName = BackupPath();
    WriteTestFile(sharedName, "other instance");
    const std::wstring before = WindowText(window_);
    CurrentEditor().ReplaceSelection(L"changed");
    SendMessageW(window_, InstanceMessage(), 0, 0);
    EXPECT_EQ(FileBytes(sharedName), "other instance");
    EXPECT_EQ(BackupPath().substr(0, sharedName.size() - 4), sharedName.substr(0, sharedName.size() - 4));
    EXPECT_EQ(FileBytes(BackupPath()), "changed");
    EXPECT_TRUE(CurrentEditor().IsModified());
    EXPECT_TRUE(DocumentPath().empty());
    EXPECT_EQ(WindowText(window_), before);

    // Logging off asks nothing, so unsaved text goes to the backup instead.
    CurrentEditor().ReplaceSelection(L" again");
    SendMessageW(window_, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(FileBytes(BackupPath()), "changed again");
    // The user asked for neither copy: "saved" would tell them their document was.
    EXPECT_TRUE(NothingHeard());

    // The text stays modified while the save question is open.
    CurrentEditor().ReplaceSelection(L"!");
    std::string backup;
    AnswerDialog(L"保存確認", [&](HWND box) {
        SendMessageW(window_, InstanceMessage(), 0, 0);
        backup = FileBytes(BackupPath());
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    SendCommand(kCmdNew);
    EXPECT_EQ(backup, "changed again!");

    static std::wstring opened;
    Outside().shellOpen = [](const std::wstring& folder) {
        opened = folder;
        return true;
    };
    SendCommand(kCmdOpenBackupFolder);
    wchar_t appData[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, appData), S_OK);
    EXPECT_EQ(opened, std::wstring(appData) + L"\\Temmaku\\OrindaTest\\BackUp");

    // The temporary copy becomes the newest history entry, unless it cannot be written.
    WriteTestFile(File(L"a.txt"), "0123456789");
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    CurrentEditor().PlaceCaret(4);
    SaveTemporaryCopy();
    EXPECT_EQ(LoadHistory().at(0).position, 4);
    EXPECT_EQ(DocumentPath(), File(L"a.txt"));

    // Unwritable: nothing else changes.
    const std::string listed = FileBytes(HistoryFilePath());
    WriteTestFile(TemporaryCopyPath(), "old");
    const HANDLE lock = CreateFileW(TemporaryCopyPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    CurrentEditor().ReplaceSelection(L"unsaved");
    EXPECT_FALSE(SaveTemporaryCopy());
    CloseHandle(lock);
    EXPECT_EQ(FileBytes(HistoryFilePath()), listed);
    EXPECT_EQ(FileBytes(TemporaryCopyPath()), "old");
}

}  // namespace
