#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "app/commands.h"
#include "core/data_folder.h"
#include "core/editor_control.h"
#include "core/instance_requests.h"
#include "core/outside_world.h"
#include "core/paths.h"
#include "core/window_text.h"
#include "document/backup.h"
#include "document/document_io.h"
#include "document/document_state.h"
#include "document/encodings.h"
#include "document/recovery.h"
#include "lists/file_history.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

std::wstring RecoveryFolder() {
    return DataFolder() + L"\\Recovery";
}

// A copy as an instance that is gone left it: no lock beside it.
std::wstring LeaveCopy(const wchar_t* name, const RecoveryContent& content) {
    CreateDirectoryW(RecoveryFolder().c_str(), nullptr);
    const std::wstring path = RecoveryFolder() + L"\\" + name;
    WriteTestFile(path, FormatRecoveryCopy(content));
    return path;
}

using SafetyCopies = FileWindowTest;

TEST_F(SafetyCopies, BackupsAreWrittenSilentlyUnderTheirOwnNames) {
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

TEST_F(SafetyCopies, RecoveryCopiesOfGoneInstancesAreOfferedUnreadableOnesLeftAndACommandLineFileStartsANewInstance) {
    PressKeys({'A'});
    ASSERT_TRUE(PumpUntil([] { return !OwnRecoveryCopy().empty() && WaitForRecoveryWrite(0) &&
                                      FileExists(OwnRecoveryCopy()); }, 15000));
    const std::wstring copy = OwnRecoveryCopy();
    RecoveryContent content;
    ASSERT_TRUE(ParseRecoveryCopy(FileBytes(copy), content));
    EXPECT_EQ(content.caret, 1);
    AnswerFileDialog(L"名前を付けて保存", File(L"a.txt"));
    SendCommand(kCmdSave);
    EXPECT_FALSE(FileExists(copy));

    // Copies left by instances that are gone: yes brings the newest back unsaved, no moves the next away.
    const std::wstring older = LeaveCopy(L"older.txt", {L"old", L"", kUtf8, 0});
    const std::wstring newer = LeaveCopy(L"newer.txt", {L"一\r二", L"C:\\docs\\memo.txt", kShiftJis, 2});
    const std::string olderBytes = FileBytes(older);
    const HANDLE file = CreateFileW(older.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const FILETIME longAgo{0, 30000000};
    SetFileTime(file, nullptr, nullptr, &longAgo);
    CloseHandle(file);

    AnswerWith(L"復元確認", IDYES);
    OfferRecoveryCopy(window_, false);
    const Editor editor = CurrentEditor();
    EXPECT_EQ(editor.EditorText(), L"一\r二");
    EXPECT_EQ(editor.GetSelection().start, 2);
    EXPECT_TRUE(editor.IsModified());  // else closing would drop it without a question
    EXPECT_EQ(DocumentPath(), L"");
    EXPECT_EQ(DocumentEncoding(), kShiftJis);
    EXPECT_EQ(WindowText(window_).rfind(L"無題", 0), 0u);
    EXPECT_TRUE(WaitForSpeech(L"保存されていなかったテキストを復元しました。元のファイルはmemo.txtです", 2000));
    EXPECT_EQ(OwnRecoveryCopy(), newer);

    AnswerWith(L"復元確認", IDNO);
    OfferRecoveryCopy(window_, false);
    EXPECT_FALSE(FileExists(older));
    EXPECT_EQ(FileBytes(BackupFolder() + L"\\older.txt"), olderBytes);
    EXPECT_EQ(editor.EditorText(), L"一\r二");

    const std::string bytes = FormatRecoveryCopy({L"一行目\r二行目😀", L"C:\\docs\\a.txt", kShiftJis, 3});
    RecoveryContent read;
    // Line breaks as files hold them, so that a copy moved to the backups reads as text.
    EXPECT_NE(bytes.find(std::string("\r\0\n\0\x8C\x4E", 6)), std::string::npos);
    // Cut within the last character, half a unit past it.
    ASSERT_TRUE(ParseRecoveryCopy(bytes.substr(0, bytes.size() - 3), read));
    EXPECT_EQ(read.text, L"一行目\r二行目");
    EXPECT_FALSE(ParseRecoveryCopy(bytes.substr(0, 60), read));

    WriteTestFile(LeaveCopy(L"damaged.txt", {}), "not a copy");
    const std::wstring held = LeaveCopy(L"held.txt", {L"kept", L"", kUtf8, 0});
    bool asked = false;
    AnswerWith(L"復元確認", IDNO, &asked);
    const HANDLE folder = CreateFileW(RecoveryFolder().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    OfferRecoveryCopy(window_, false);
    CloseHandle(folder);
    const HANDLE heldOpen = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    OfferRecoveryCopy(window_, false);
    CloseHandle(heldOpen);
    EXPECT_FALSE(asked);

    OfferRecoveryCopy(window_, false);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(FileExists(RecoveryFolder() + L"\\damaged.txt"));

    // After a file named on the command line, yes opens the copy in a new instance.
    const std::wstring waiting = LeaveCopy(L"c.txt", {L"text", L"", kUtf8, 0});
    static std::wstring started;
    Outside().startProgram = [](const std::wstring& program, const std::wstring& parameters) {
        started = program + L" " + parameters;
        return true;
    };
    SetEditorText(L"file");
    AnswerWith(L"復元確認", IDYES);
    OfferRecoveryCopy(window_, true);
    EXPECT_EQ(started, ProgramFilePath() + L" /recover \"" + waiting + L"\"");
    EXPECT_EQ(CurrentEditor().EditorText(), L"file");

    RecoverCopy(waiting);
    EXPECT_EQ(CurrentEditor().EditorText(), L"text");
    // Nothing outside the Recovery folder is taken over.
    WriteTestFile(File(L"other.txt"), FormatRecoveryCopy({L"other", L"", kUtf8, 0}));
    RecoverCopy(File(L"other.txt"));
    EXPECT_TRUE(WaitForSpeech(L"テキストを復元できませんでした", 2000));
    EXPECT_EQ(CurrentEditor().EditorText(), L"text");
}

}  // namespace
