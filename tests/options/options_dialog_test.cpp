#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/commands.h"
#include "core/editor_control.h"
#include "core/outside_world.h"
#include "core/profile.h"
#include "core/settings.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

constexpr int kFolderEdit = 107;
constexpr int kBrowse = 108;
constexpr int kShortcutButton = 111;
const int kSwitches[] = {101, 102, 103, 104, 105, 109, 110};
const wchar_t kCreate[] = L"送るメニューにショートカットを作成";
const wchar_t kDelete[] = L"送るメニューからショートカットを削除";

std::wstring g_sendTo;

std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[300] = {};
    GetDlgItemTextW(dialog, id, text, 300);
    return text;
}

std::wstring StoredString(const wchar_t* name) {
    wchar_t value[300] = {};
    DWORD size = sizeof value;
    RegGetValueW(HKEY_CURRENT_USER, SettingsKey().c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

std::wstring LinkTarget(const std::wstring& link) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring target;
    IShellLinkW* shellLink = nullptr;
    IPersistFile* file = nullptr;
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink))) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(link.c_str(), STGM_READ)) && SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
        target = path;
    if (file) file->Release();
    if (shellLink) shellLink->Release();
    CoUninitialize();
    return target;
}

void Click(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

class OptionsDialog : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        saved_ = Outside();
        Outside().browseForFolder = [](HWND, const std::wstring& title, const std::wstring&, std::wstring& chosen) {
            chosen = L"C:\\選んだフォルダ";
            return title == L"フォルダ選択";
        };
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"orinda-sendto";
        CreateDirectoryW(folder_.c_str(), nullptr);
        g_sendTo = folder_;
        Outside().sendToFolder = [] { return g_sendTo; };
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        Outside() = saved_;
        DeleteFileW(Shortcut().c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::wstring Shortcut() const { return folder_ + L"\\オリンダ.lnk"; }
    void Open(std::function<void(HWND)> answer) {
        AnswerDialog(L"全般設定", std::move(answer));
        SendMessageW(window_, WM_COMMAND, kCmdOptions, 0);
    }
    // The shortcut button's text when the dialog opens and after one click.
    std::pair<std::wstring, std::wstring> ClickShortcutButton() {
        std::pair<std::wstring, std::wstring> texts;
        Open([&texts](HWND dialog) {
            texts.first = ControlText(dialog, kShortcutButton);
            Click(dialog, kShortcutButton);
            texts.second = ControlText(dialog, kShortcutButton);
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        return texts;
    }
    OutsideWorld saved_{};
    std::wstring folder_;
};

TEST_F(OptionsDialog, CancelKeepsEverythingEvenAChosenFolder) {
    const std::wstring folder = CurrentSettings().newDocumentFolder;
    std::wstring shown;
    Open([&shown](HWND dialog) {
        Click(dialog, 101);
        Click(dialog, kBrowse);
        shown = ControlText(dialog, kFolderEdit);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(shown, L"C:\\選んだフォルダ");
    EXPECT_EQ(CurrentSettings().checkUpdatesAtStart, 1);
    EXPECT_EQ(CurrentSettings().newDocumentFolder, folder);

    Open([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(StoredString(L"Option6"), folder);
    EXPECT_EQ(ReadSettingNumber(L"Option1"), 1u);
}

TEST_F(OptionsDialog, OkStoresEverySwitchAndTheFolderAndWrapsAtOnce) {
    SetEditorText(std::wstring(3000, L'あ'));
    ASSERT_EQ(CurrentEditor().LineCount(), 1);
    Open([](HWND dialog) {
        for (int id : kSwitches) Click(dialog, id);
        Click(dialog, kBrowse);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    const wchar_t* names[] = {L"Option1", L"Option2", L"Option3", L"Option4", L"Option5", L"Option7", L"Option8"};
    const DWORD flipped[] = {0, 0, 1, 1, 1, 0, 0};
    for (int index = 0; index < 7; ++index) EXPECT_EQ(ReadSettingNumber(names[index]), flipped[index]) << index;
    EXPECT_EQ(StoredString(L"Option6"), L"C:\\選んだフォルダ");
    EXPECT_GT(CurrentEditor().LineCount(), 1);
}

TEST_F(OptionsDialog, SendToShortcutIsCreatedAndDeleted) {
    int done = 0;
    const auto confirm = [&done](const wchar_t* question) {
        AnswerDialog(question, [](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
        AnswerDialog(L"完了", [&done](HWND box) {
            ++done;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
    };
    confirm(L"作成確認");
    EXPECT_EQ(ClickShortcutButton(), std::make_pair(std::wstring(kCreate), std::wstring(kDelete)));
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    EXPECT_EQ(LinkTarget(Shortcut()), program);

    confirm(L"削除確認");
    EXPECT_EQ(ClickShortcutButton(), std::make_pair(std::wstring(kDelete), std::wstring(kCreate)));
    EXPECT_EQ(GetFileAttributesW(Shortcut().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(done, 2);
}

TEST_F(OptionsDialog, ShortcutFailuresAreToldAndAMissingFolderDisablesTheButton) {
    g_sendTo += L"\\missing";
    bool failureShown = false;
    AnswerDialog(L"作成確認", [](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
    AnswerDialog(L"エラー", [&failureShown](HWND box) {
        failureShown = ControlText(box, 0xFFFF) == L"送るメニューにショートカットを作成できませんでした。";
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(ClickShortcutButton().second, kCreate);
    EXPECT_TRUE(failureShown);

    Outside().sendToFolder = [] { return std::wstring(); };
    bool enabled = true;
    Open([&enabled](HWND dialog) {
        enabled = IsWindowEnabled(GetDlgItem(dialog, kShortcutButton));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(enabled);
}

}  // namespace
