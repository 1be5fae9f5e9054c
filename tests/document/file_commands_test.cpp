#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/commands.h"
#include "core/editor_control.h"
#include "app/main_window.h"
#include "core/app_window.h"
#include "core/data_folder.h"
#include "core/instance_requests.h"
#include "core/outside_world.h"
#include "document/backup.h"
#include "document/document_state.h"
#include "document/document_io.h"
#include "document/encodings.h"
#include "document/file_commands.h"
#include "document/save_question.h"
#include "core/file_io.h"
#include "core/safe_write.h"
#include "lists/file_history.h"
#include "speech/speech.h"
#include "support/test_support.h"

namespace {

using namespace testing_support;

constexpr int kFileNameEdit = 0x47C;

std::wstring TestFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"orinda_documents";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    ReadFileBytes(path, 1 << 20, bytes);
    return bytes;
}

void Command(HWND window, WORD id) {
    SendMessageW(window, WM_COMMAND, id, 0);
}

std::wstring Title(HWND window) {
    wchar_t title[300] = {};
    GetWindowTextW(window, title, 300);
    return title;
}

void ChooseFile(const wchar_t* dialogTitle, const std::wstring& path) {
    AnswerDialog(dialogTitle, [path](HWND dialog) {
        SetDlgItemTextW(dialog, kFileNameEdit, path.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
}

void Press(const wchar_t* dialogTitle, int button) {
    AnswerDialog(dialogTitle, [button](HWND dialog) { PostMessageW(dialog, WM_COMMAND, button, 0); });
}

bool Spoken(const std::wstring& text) {
    return WaitForSpeech(text, 2000);
}

class FileCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        folder_ = TestFolder();
        DeleteFileW(HistoryFilePath().c_str());
        NewDocument();
        PumpMessages(150);
        ClearSpeechLog();
    }
    void TearDown() override {
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"ro.txt", L"saved.txt", L"locked.txt"}) {
            SetFileAttributesW(File(name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(File(name).c_str());
        }
        MainWindowTest::TearDown();
        DeleteFileW(HistoryFilePath().c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::wstring File(const wchar_t* name) const { return folder_ + L"\\" + name; }
    std::wstring folder_;
};

TEST_F(FileCommandsTest, OpenThroughTheDialogDetectsAndSaveKeepsTheBytes) {
    WriteBytes(File(L"a.txt"), "\x82\xA0\x82\xA2\r\nabc\r\n");
    ChooseFile(L"テキストファイルを開く", File(L"a.txt"));
    Command(window_, kCmdOpen);
    EXPECT_TRUE(Spoken(L"読み込みました"));
    EXPECT_EQ(CurrentEditor().Text(), L"あい\r\nabc\r\n");
    EXPECT_EQ(DocumentEncoding(), kShiftJis);
    EXPECT_EQ(Title(window_), L"a.txt - オリンダ");
    CurrentEditor().ReplaceSelection(L"う");
    Command(window_, kCmdSave);
    EXPECT_TRUE(Spoken(L"保存しました"));
    EXPECT_EQ(ReadBytes(File(L"a.txt")), "\x82\xA4\x82\xA0\x82\xA2\r\nabc\r\n");
    EXPECT_FALSE(CurrentEditor().IsModified());
    EXPECT_EQ(LoadHistory().at(0).path, File(L"a.txt"));
}

TEST_F(FileCommandsTest, Utf16DropsTheOddByteAndSaveWithEncodingWritesTheMark) {
    WriteBytes(File(L"a.txt"), std::string("\xFF\xFE" "a\0\n\0b\0X", 9));
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    EXPECT_EQ(CurrentEditor().Text(), L"a\r\nb");
    Press(L"文字コード選択", IDOK);  // index 0, Shift_JIS
    Press(L"名前を付けて保存", IDCANCEL);
    Command(window_, kCmdSaveWithEncoding);
    EXPECT_EQ(DocumentEncoding(), kUtf16Le);
    AnswerDialog(L"文字コード選択", [](HWND dialog) {
        SendDlgItemMessageW(dialog, 101, CB_SETCURSEL, 4, 0);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    ChooseFile(L"名前を付けて保存", File(L"b.txt"));
    Command(window_, kCmdSaveWithEncoding);
    EXPECT_EQ(ReadBytes(File(L"b.txt")), std::string("\xFE\xFF\0a\0\r\0\n\0b", 10));
    EXPECT_EQ(DocumentEncoding(), kUtf16Be);
    EXPECT_EQ(Title(window_), L"b.txt - オリンダ");
    // Reload the Shift_JIS bytes of a file as UTF-8.
    WriteBytes(File(L"b.txt"), "\xEF\xBB\xBFz");
    Press(L"文字コード選択", IDOK);
    Command(window_, kCmdReloadWithEncoding);
    EXPECT_EQ(DocumentEncoding(), kShiftJis);
    EXPECT_EQ(CurrentEditor().Text().back(), L'z');
}

TEST_F(FileCommandsTest, SaveQuestionCancelNoAndCancelledSaveAs) {
    SetEditorText(L"text");
    CurrentEditor().ReplaceSelection(L"more ");
    const std::wstring title = Title(window_);
    std::wstring question;
    AnswerDialog(L"保存確認", [&question](HWND box) {
        wchar_t text[200] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 200);
        question = text;
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    Command(window_, kCmdNew);
    EXPECT_EQ(question, L"無題" + std::to_wstring(UntitledNumber()) + L"の内容は変更されています\n変更を保存しますか？");
    EXPECT_EQ(CurrentEditor().Text(), L"more text");
    EXPECT_TRUE(CurrentEditor().IsModified());
    EXPECT_EQ(Title(window_), title);

    Press(L"保存確認", IDYES);
    Press(L"名前を付けて保存", IDCANCEL);
    Command(window_, kCmdNew);
    EXPECT_EQ(CurrentEditor().Text(), L"more text");
    EXPECT_TRUE(CurrentEditor().IsModified());

    Press(L"保存確認", IDNO);
    Command(window_, kCmdNew);
    EXPECT_TRUE(Spoken(L"新規"));
    EXPECT_TRUE(CurrentEditor().IsEmpty());
    EXPECT_FALSE(CurrentEditor().IsModified());
}

TEST_F(FileCommandsTest, YesSavesThroughSaveAsAndEditedBackTextAsksNothing) {
    CurrentEditor().ReplaceSelection(L"x");
    Press(L"保存確認", IDYES);
    ChooseFile(L"名前を付けて保存", File(L"saved.txt"));
    Command(window_, kCmdNew);
    EXPECT_EQ(ReadBytes(File(L"saved.txt")), "x");
    ASSERT_EQ(LoadDocument(File(L"saved.txt")), ReadResult::kDone);
    CurrentEditor().ReplaceSelection(L"y");
    CurrentEditor().Select(0, 1);
    CurrentEditor().ReplaceSelection(L"");
    EXPECT_TRUE(CurrentEditor().IsModified());
    EXPECT_TRUE(ConfirmDiscard(window_));  // a question would block here
}

TEST_F(FileCommandsTest, TextEditedBackToTheLoadedTextAfterASaveStillAsks) {
    for (const WORD save : {kCmdSave, kCmdSaveAs}) {
        WriteBytes(File(L"a.txt"), "A");
        ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
        CurrentEditor().Select(0, 1);
        CurrentEditor().ReplaceSelection(L"B");
        if (save == kCmdSaveAs) ChooseFile(L"名前を付けて保存", File(L"b.txt"));
        Command(window_, save);
        CurrentEditor().Select(0, 1);
        CurrentEditor().ReplaceSelection(L"A");
        bool asked = false;
        AnswerDialog(L"保存確認", [&asked](HWND box) {
            asked = true;
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_FALSE(ConfirmDiscard(window_)) << save;
        ASSERT_TRUE(asked) << save;
    }
    EXPECT_EQ(ReadBytes(File(L"b.txt")), "B");
}

TEST_F(FileCommandsTest, ReloadWithAnotherEncodingAsksBeforeDroppingEdits) {
    WriteBytes(File(L"a.txt"), "abc");
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    CurrentEditor().ReplaceSelection(L"x");
    Press(L"文字コード選択", IDOK);  // index 0, Shift_JIS
    Press(L"保存確認", IDCANCEL);
    Command(window_, kCmdReloadWithEncoding);
    ASSERT_EQ(CurrentEditor().Text(), L"xabc");
    EXPECT_TRUE(CurrentEditor().IsModified());
    EXPECT_EQ(DocumentEncoding(), kUtf8);

    Press(L"文字コード選択", IDOK);
    Press(L"保存確認", IDYES);
    Command(window_, kCmdReloadWithEncoding);
    EXPECT_EQ(ReadBytes(File(L"a.txt")), "xabc");
    EXPECT_EQ(CurrentEditor().Text(), L"xabc");
    EXPECT_EQ(DocumentEncoding(), kShiftJis);
    EXPECT_FALSE(CurrentEditor().IsModified());
}

TEST_F(FileCommandsTest, LockedTextTakesNoInsertedFile) {
    SetEditorText(L"mine");
    WriteBytes(File(L"a.txt"), "new ");
    ChooseFile(L"テキストファイルを開く", File(L"a.txt"));
    SetEditable(false);
    Command(window_, kCmdInsertFile);
    EXPECT_TRUE(Spoken(L"編集禁止"));
    // Stops here when the file was inserted: the dialog's answer is used up.
    ASSERT_EQ(CurrentEditor().Text(), L"mine");
    SetEditable(true);
    Command(window_, kCmdInsertFile);
    EXPECT_EQ(CurrentEditor().Text(), L"new mine");
}

TEST_F(FileCommandsTest, ReadOnlyFileThenWritableFile) {
    WriteBytes(File(L"ro.txt"), "locked");
    SetFileAttributesW(File(L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteBytes(File(L"a.txt"), "free");
    ASSERT_EQ(LoadDocument(File(L"ro.txt")), ReadResult::kDone);
    EXPECT_TRUE(Spoken(L"読み取り専用ファイル"));
    EXPECT_FALSE(IsEditable());
    EXPECT_FALSE(IsLockToggleAllowed());
    EXPECT_FALSE(SaveDocumentTo(File(L"ro.txt"), SaveAnswer::kSpoken));
    EXPECT_EQ(ReadBytes(File(L"ro.txt")), "locked");
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    EXPECT_TRUE(IsEditable());
    EXPECT_TRUE(IsLockToggleAllowed());
    EXPECT_EQ(GetWindowLongPtrW(EditorWindow(), GWL_STYLE) & ES_READONLY, 0);
}

TEST_F(FileCommandsTest, FileWithANulLoadsLockedAndSaveAsksWhereTo) {
    const std::string bytes("before\0after", 12);
    WriteBytes(File(L"a.txt"), bytes);
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    EXPECT_EQ(CurrentEditor().Text(), L"before");
    EXPECT_TRUE(Spoken(L"NUL文字以降は読み込めないため編集禁止"));
    EXPECT_FALSE(IsEditable());
    Command(window_, kCmdReadOnlyToggle);
    CurrentEditor().ReplaceSelection(L"x");
    Press(L"名前を付けて保存", IDCANCEL);
    Command(window_, kCmdSave);
    EXPECT_EQ(ReadBytes(File(L"a.txt")), bytes);
    ChooseFile(L"名前を付けて保存", File(L"b.txt"));
    Command(window_, kCmdSave);
    EXPECT_EQ(ReadBytes(File(L"b.txt")), "xbefore");
    EXPECT_EQ(ReadBytes(File(L"a.txt")), bytes);
}

TEST_F(FileCommandsTest, FailedLoadKeepsTheDocumentAndItsPath) {
    WriteBytes(File(L"a.txt"), "mine");
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    WriteBytes(File(L"locked.txt"), "theirs");
    const HANDLE lock = CreateFileW(File(L"locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ClearSpeechLog();
    OpenChosenDocument(window_, File(L"locked.txt"));
    CloseHandle(lock);
    EXPECT_TRUE(Spoken(L"ファイルを開けませんでした"));
    EXPECT_EQ(DocumentPath(), File(L"a.txt"));
    EXPECT_EQ(CurrentEditor().Text(), L"mine");
    EXPECT_EQ(ReadBytes(File(L"locked.txt")), "theirs");
}

TEST_F(FileCommandsTest, InsertGoesAfterTheSelection) {
    SetEditorText(L"abcd");
    WriteBytes(File(L"a.txt"), "\xC3\xA9X");  // UTF-8 "éX"
    CurrentEditor().Select(1, 3);
    ChooseFile(L"テキストファイルを開く", File(L"a.txt"));
    Command(window_, kCmdInsertFile);
    EXPECT_EQ(CurrentEditor().Text(), L"abc\u00E9Xd");
    EXPECT_TRUE(Spoken(L"1行6文字"));
    EXPECT_EQ(InsertPath(), File(L"a.txt"));
    EXPECT_EQ(DocumentEncoding(), kUtf8);
    EXPECT_TRUE(CurrentEditor().CanUndo());
}

TEST_F(FileCommandsTest, FailedWriteLeavesTheOldFileIntact) {
    WriteBytes(File(L"a.txt"), "old content");
    SetFileAttributesW(File(L"a.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    const bool written = ReplaceFileContent(File(L"a.txt"), [](HANDLE file) {
        DWORD done = 0;
        WriteFile(file, "new", 3, &done, nullptr);
        return false;  // the disk filled up half-way
    });
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(File(L"a.txt")), "old content");
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder_ + L"\\ori*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    EXPECT_TRUE(WriteFileSafely(File(L"a.txt"), "new"));
    EXPECT_EQ(ReadBytes(File(L"a.txt")), "new");
    EXPECT_NE(GetFileAttributesW(File(L"a.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(FileCommandsTest, FailedReplacementWritesTheFileInPlace) {
    WriteBytes(File(L"a.txt"), "old content");
    // A viewer holding the file without letting it be deleted makes the
    // replacement fail once the new content is complete beside it.
    const HANDLE viewer = CreateFileW(File(L"a.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    const bool written = WriteFileSafely(File(L"a.txt"), "new");
    CloseHandle(viewer);
    EXPECT_TRUE(written);
    EXPECT_EQ(ReadBytes(File(L"a.txt")), "new");
    for (const std::wstring& pattern : {folder_ + L"\\ori*.tmp", BackupFolder() + L"\\a.txt.*"}) {
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
        EXPECT_EQ(search, INVALID_HANDLE_VALUE) << std::filesystem::path(found.cFileName).string();
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
    }
}

TEST_F(FileCommandsTest, FileInAFolderNearThePathLimitSaves) {
    const std::wstring folder = folder_ + L"\\" + std::wstring(248 - folder_.size() - 1, L'd');
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring path = folder + L"\\a.txt";
    const bool written = WriteFileSafely(path, "new");
    const std::string bytes = ReadBytes(path);
    DeleteFileW(path.c_str());
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*.tmp").c_str(), &found);
    const bool temporaryLeft = search != INVALID_HANDLE_VALUE;
    if (temporaryLeft) FindClose(search);
    RemoveDirectoryW(folder.c_str());
    EXPECT_TRUE(written);
    EXPECT_EQ(bytes, "new");
    EXPECT_FALSE(temporaryLeft);
}

TEST_F(FileCommandsTest, AFreshControlKeepsWhatTheEditorPromised) {
    SetEditorText(L"old text");
    const HWND old = EditorWindow();
    RECT oldPlace{};
    GetWindowRect(old, &oldPlace);
    Command(window_, kCmdWordWrap);
    WriteBytes(File(L"ro.txt"), std::string(300, 'x') + "\r\nsecond");
    SetFileAttributesW(File(L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(LoadDocument(File(L"ro.txt")), ReadResult::kDone);

    const HWND fresh = EditorWindow();
    ASSERT_NE(fresh, old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(GetParent(fresh), window_);
    EXPECT_EQ(GetDlgCtrlID(fresh), 101);
    RECT place{};
    GetWindowRect(fresh, &place);
    EXPECT_TRUE(EqualRect(&place, &oldPlace));
    EXPECT_EQ(GetFocus(), fresh);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(fresh, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_STREQ(format.szFaceName, L"Yu Gothic UI");
    EXPECT_EQ(format.yHeight, 240);
    EXPECT_EQ(SendMessageW(fresh, EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT, TM_PLAINTEXT);
    EXPECT_EQ(SendMessageW(fresh, EM_GETLIMITTEXT, 0, 0), 104857600);

    const Editor editor = CurrentEditor();
    EXPECT_GT(editor.LineCount(), 2);
    EXPECT_TRUE(editor.IsReadOnly());
    EXPECT_FALSE(IsEditable());
    EXPECT_FALSE(editor.IsModified());
    EXPECT_FALSE(editor.CanUndo());
    editor.PlaceCaret(0);
    PressKeys({'Y'});
    EXPECT_EQ(editor.Text(), std::wstring(300, L'x') + L"\r\nsecond");
    editor.Select(0, 3);
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitForSpeech(L"コピー", 1000));
}

TEST_F(FileCommandsTest, AMillionEmptyLinesAreRefusedAndTheOpenDocumentKept) {
    WriteBytes(File(L"a.txt"), "kept");
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    std::string lines;
    for (int line = 0; line < 1000000; ++line) lines += "\r\n";
    WriteBytes(File(L"b.txt"), lines);
    ClearSpeechLog();
    OpenChosenDocument(window_, File(L"b.txt"));
    EXPECT_TRUE(WaitForSpeech(L"ファイルが大きすぎるため読み込めません", 2000));
    EXPECT_EQ(CurrentEditor().Text(), L"kept");
    EXPECT_EQ(DocumentPath(), File(L"a.txt"));
}

TEST_F(FileCommandsTest, RichTextMarkupStaysTextAndIsSavedByteForByte) {
    const std::string markup = "\xEF\xBB\xBF{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0 \\b \xE5\xA4\xAA\xE5\xAD\x97\\b0}\r\nplain\r\n";
    WriteBytes(File(L"a.txt"), markup);
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    EXPECT_EQ(CurrentEditor().Text(), L"{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0 \\b 太字\\b0}\r\nplain\r\n");
    CurrentEditor().ReplaceSelection(L"");
    CurrentEditor().SetModified(true);
    Command(window_, kCmdSave);
    EXPECT_EQ(ReadBytes(File(L"a.txt")), markup);
}

TEST(BackupName, IsTheLocalTimeWithLeadingZeros) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 1;
    time.wDay = 2;
    time.wHour = 3;
    time.wMinute = 4;
    time.wSecond = 5;
    EXPECT_EQ(BackupNameOf(time), L"2026年01月02日03時04分05秒");
}

TEST_F(FileCommandsTest, BackupOnlyWhenModifiedAndTitleKeepsItsName) {
    const std::wstring before = Title(window_);
    SendMessageW(window_, InstanceMessage(), 0, 0);
    EXPECT_FALSE(GetFileAttributesW(BackupPath().c_str()) != INVALID_FILE_ATTRIBUTES &&
                 ReadBytes(BackupPath()) == "changed");
    CurrentEditor().ReplaceSelection(L"changed");
    SendMessageW(window_, InstanceMessage(), 0, 0);
    EXPECT_EQ(ReadBytes(BackupPath()), "changed");
    EXPECT_TRUE(CurrentEditor().IsModified());
    EXPECT_TRUE(DocumentPath().empty());
    EXPECT_EQ(Title(window_), before);
    DeleteFileW(BackupPath().c_str());

    // Logging off asks nothing, so unsaved text goes to the backup instead.
    CurrentEditor().ReplaceSelection(L" again");
    SendMessageW(window_, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(ReadBytes(BackupPath()), "changed again");
    DeleteFileW(BackupPath().c_str());
    // The user asked for neither copy: "saved" would tell them their document was.
    PumpMessages(300);
    EXPECT_EQ(SpokenTexts(), std::vector<std::wstring>{});
}

TEST_F(FileCommandsTest, TextStaysModifiedWhileTheSaveQuestionIsOpen) {
    CurrentEditor().ReplaceSelection(L"unsaved");
    std::string backup, logOffBackup;
    AnswerDialog(L"保存確認", [&](HWND box) {
        SendMessageW(window_, InstanceMessage(), 0, 0);
        backup = ReadBytes(BackupPath());
        DeleteFileW(BackupPath().c_str());
        SendMessageW(window_, WM_ENDSESSION, TRUE, 0);
        logOffBackup = ReadBytes(BackupPath());
        DeleteFileW(BackupPath().c_str());
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    Command(window_, kCmdNew);
    EXPECT_EQ(backup, "unsaved");
    EXPECT_EQ(logOffBackup, "unsaved");
    EXPECT_EQ(CurrentEditor().Text(), L"unsaved");
    EXPECT_TRUE(CurrentEditor().IsModified());
}

TEST_F(FileCommandsTest, AnInstanceStartedInTheSameSecondKeepsItsOwnBackup) {
    const std::wstring sharedName = BackupPath();
    WriteBytes(sharedName, "other instance");
    CurrentEditor().ReplaceSelection(L"mine");
    SendMessageW(window_, InstanceMessage(), 0, 0);
    EXPECT_EQ(ReadBytes(sharedName), "other instance");
    EXPECT_NE(BackupPath(), sharedName);
    EXPECT_EQ(BackupPath().substr(0, sharedName.size() - 4), sharedName.substr(0, sharedName.size() - 4));
    EXPECT_EQ(ReadBytes(BackupPath()), "mine");
    DeleteFileW(sharedName.c_str());
    DeleteFileW(BackupPath().c_str());
}

TEST_F(FileCommandsTest, CommandLineFileOpensAtItsCaretOrNamesANewFile) {
    WriteBytes(File(L"a.txt"), "0123456789");
    SaveHistory({{File(L"a.txt"), L"a.txt", 6}});
    SendMessageW(window_, WM_CLOSE, 0, 0);
    window_ = CreateMainWindow(GetModuleHandleW(nullptr), File(L"a.txt"));
    ASSERT_NE(window_, nullptr);
    EXPECT_EQ(CurrentEditor().Text(), L"0123456789");
    EXPECT_EQ(CurrentEditor().GetSelection().start, 6);
    EXPECT_EQ(Title(window_), L"a.txt - オリンダ");

    SendMessageW(window_, WM_CLOSE, 0, 0);
    window_ = CreateMainWindow(GetModuleHandleW(nullptr), File(L"saved.txt"));
    ASSERT_NE(window_, nullptr);
    EXPECT_EQ(DocumentPath(), File(L"saved.txt"));
    EXPECT_EQ(Title(window_), L"saved.txt - オリンダ");
    CurrentEditor().ReplaceSelection(L"new");
    Command(window_, kCmdSave);
    EXPECT_EQ(ReadBytes(File(L"saved.txt")), "new");

    WriteBytes(File(L"locked.txt"), "theirs");
    const HANDLE lock = CreateFileW(File(L"locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SendMessageW(window_, WM_CLOSE, 0, 0);
    WriteSettingNumber(L"Option16", kNvda);
    window_ = CreateMainWindow(GetModuleHandleW(nullptr), File(L"locked.txt"));
    CloseHandle(lock);
    ASSERT_NE(window_, nullptr);
    EXPECT_TRUE(WaitForSpeech(L"ファイルを開けませんでした", 1000));
    EXPECT_TRUE(DocumentPath().empty());
    EXPECT_EQ(Title(window_), L"無題" + std::to_wstring(UntitledNumber()) + L" - オリンダ");
}

TEST_F(FileCommandsTest, LegacyHistoryIsConverted) {
    const std::wstring legacy = folder_ + L"\\legacy";
    CreateDirectoryW(legacy.c_str(), nullptr);
    // "文書" in code page 932; a path longer than 260 characters is left out.
    WriteBytes(legacy + L"\\history.log", "[FilePath]\r\nFilePath0=C:\\\x95\xB6\x8F\x91\\a.txt\r\nFilePath1=C:\\" +
                                              std::string(300, 'x') + "\r\nFilePath2=C:\\b.txt\r\n"
                                              "[CurselPoint]\r\nCurselPoint0=12\r\nCurselPoint2=3\r\n");
    MigrateLegacyFileHistory(legacy);
    // A later start keeps the files used since.
    AddToHistory(File(L"a.txt"));
    MigrateLegacyFileHistory(legacy);
    DeleteFileW((legacy + L"\\history.log").c_str());
    RemoveDirectoryW(legacy.c_str());
    FileHistory history = LoadHistory();
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0].path, File(L"a.txt"));
    history.erase(history.begin());
    EXPECT_EQ(history[0].path, L"C:\\文書\\a.txt");
    EXPECT_EQ(history[0].position, 12);
    EXPECT_EQ(history[1].path, L"C:\\b.txt");
    EXPECT_EQ(history[1].position, 3);
    EXPECT_EQ(ReadBytes(HistoryFilePath()).substr(0, 3), "\xEF\xBB\xBF");
}

TEST_F(FileCommandsTest, TemporaryCopyBecomesTheNewestHistoryEntryWithTheCaret) {
    WriteBytes(File(L"a.txt"), "0123456789");
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    CurrentEditor().PlaceCaret(4);
    SaveTemporaryCopy();
    const FileHistory history = LoadHistory();
    ASSERT_GE(history.size(), 2u);
    EXPECT_EQ(history[0].path, TemporaryCopyPath());
    EXPECT_EQ(history[0].fileName, L"Temp.txt");
    EXPECT_EQ(history[0].position, 4);
    EXPECT_EQ(ReadBytes(TemporaryCopyPath()), "0123456789");
    EXPECT_FALSE(CurrentEditor().IsModified());
    EXPECT_EQ(DocumentPath(), File(L"a.txt"));
}

TEST_F(FileCommandsTest, UnwritableTemporaryCopyChangesNothingElse) {
    WriteBytes(TemporaryCopyPath(), "old");
    const HANDLE lock =
        CreateFileW(TemporaryCopyPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    CurrentEditor().ReplaceSelection(L"unsaved");
    EXPECT_FALSE(SaveTemporaryCopy());
    CloseHandle(lock);
    EXPECT_TRUE(LoadHistory().empty());
    EXPECT_TRUE(CurrentEditor().IsModified());
    EXPECT_EQ(ReadBytes(TemporaryCopyPath()), "old");
    DeleteFileW(TemporaryCopyPath().c_str());
}

TEST_F(FileCommandsTest, HistoryThatCannotBeReadIsNotOverwritten) {
    AddToHistory(File(L"a.txt"));
    const std::string before = ReadBytes(HistoryFilePath());
    // Another instance reading without sharing reads: this instance's read
    // fails while a write would still go through.
    const HANDLE lock = CreateFileW(HistoryFilePath().c_str(), GENERIC_READ, FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    AddToHistory(File(L"b.txt"));
    RecordCaretInHistory(File(L"a.txt"));
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(HistoryFilePath()), before);
}

TEST_F(FileCommandsTest, CaretGoesToTheEntryOfItsOwnDocument) {
    WriteBytes(File(L"a.txt"), "0123456789");
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    AddToHistory(File(L"b.txt"));  // another instance opened b.txt since
    CurrentEditor().PlaceCaret(7);
    RecordCaretInHistory(DocumentPath());
    const FileHistory history = LoadHistory();
    EXPECT_EQ(history[0].position, 0);
    EXPECT_EQ(history[1].position, 7);
    NewDocument();
    OpenChosenDocument(window_, File(L"a.txt"));
    EXPECT_EQ(CurrentEditor().GetSelection().start, 7);
}

TEST_F(FileCommandsTest, HistoryDialogDeletesAndOpens) {
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"saved.txt"}) {
        WriteBytes(File(name), "x");
        AddToHistory(File(name));
    }
    AnswerDialog(L"履歴一覧", [](HWND dialog) {
        const HWND list = GetDlgItem(dialog, 101);
        SendMessageW(list, LB_SETCURSEL, 2, 0);
        SendMessageW(dialog, WM_VKEYTOITEM, MAKEWPARAM(VK_DELETE, 2), reinterpret_cast<LPARAM>(list));
        EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    Command(window_, kCmdOpenFromHistory);
    EXPECT_TRUE(Spoken(L"読み込みました"));
    EXPECT_EQ(DocumentPath(), File(L"b.txt"));
    const FileHistory history = LoadHistory();
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].path, File(L"b.txt"));

    Press(L"削除確認", IDNO);
    AnswerDialog(L"履歴一覧", [](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, 102, 0);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Command(window_, kCmdOpenFromHistory);
    EXPECT_EQ(LoadHistory().size(), 2u);
    bool okEnabled = true;
    Press(L"削除確認", IDYES);
    AnswerDialog(L"履歴一覧", [&okEnabled](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, 102, 0);
        okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Command(window_, kCmdOpenFromHistory);
    EXPECT_FALSE(okEnabled);
    EXPECT_TRUE(LoadHistory().empty());
}

TEST_F(FileCommandsTest, BackupFolderOpensThroughTheShell) {
    std::wstring opened;
    static std::wstring* target = nullptr;
    target = &opened;
    const auto original = Outside().shellOpen;
    Outside().shellOpen = [](const std::wstring& folder) {
        *target = folder;
        return true;
    };
    Command(window_, kCmdOpenBackupFolder);
    Outside().shellOpen = original;
    EXPECT_EQ(opened + L"\\" + BackupPath().substr(opened.size() + 1), BackupPath());
    EXPECT_EQ(opened.substr(opened.size() - 7), L"\\BackUp");
}

}  // namespace
