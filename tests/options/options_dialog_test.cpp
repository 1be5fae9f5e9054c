#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/commands.h"
#include "core/editor_control.h"
#include "core/outside_world.h"
#include "core/settings.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

constexpr int kBrowse = 108;
constexpr int kShortcutButton = 111;
const wchar_t kCreate[] = L"送るメニューにショートカットを作成";
const wchar_t kDelete[] = L"送るメニューからショートカットを削除";
std::wstring g_sendTo;

std::wstring StoredFolder() {
    return ReadSetting(L"Option6").Text();
}

std::wstring LinkTarget(const std::wstring& link) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t path[MAX_PATH] = {};
    IShellLinkW* shellLink = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink))) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(link.c_str(), STGM_READ)))
        shellLink->GetPath(path, MAX_PATH, nullptr, 0);
    if (file) file->Release();
    if (shellLink) shellLink->Release();
    CoUninitialize();
    return path;
}

class OptionsDialog : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Outside().browseForFolder = [](HWND, const std::wstring& title, const std::wstring&, std::wstring& chosen) {
            chosen = L"C:\\選んだフォルダ";
            return title == L"フォルダ選択";
        };
        g_sendTo = folder_.Path();
        Outside().sendToFolder = [] { return g_sendTo; };
    }
    // Open the dialog, run `steps` in it, then leave it with `button`.
    void Open(std::function<void(HWND)> steps, int button = IDCANCEL) {
        AnswerDialog(L"全般設定", [steps, button](HWND dialog) {
            steps(dialog);
            PostMessageW(dialog, WM_COMMAND, button, 0);
        });
        SendCommand(kCmdOptions);
    }
    // The shortcut button's text when the dialog opens and after one click.
    std::pair<std::wstring, std::wstring> ClickShortcutButton() {
        std::pair<std::wstring, std::wstring> texts;
        Open([&texts](HWND dialog) {
            texts.first = DialogItemText(dialog, kShortcutButton);
            ClickButton(dialog, kShortcutButton);
            texts.second = DialogItemText(dialog, kShortcutButton);
        });
        return texts;
    }
    const ScratchFolder folder_{L"orinda-sendto"};
};

TEST_F(OptionsDialog, CancelKeepsAllOkStoresAllAndWrapsAtOnceAndTheSendToShortcutIsMadeAndDeletedOrSaysWhyNot) {
    const std::wstring folder = CurrentSettings().newDocumentFolder;
    std::wstring shown;
    Open([&shown](HWND dialog) {
        ClickButton(dialog, 101);
        ClickButton(dialog, kBrowse);
        shown = DialogItemText(dialog, 107);
    });
    EXPECT_EQ(shown, L"C:\\選んだフォルダ");
    Open([](HWND) {}, IDOK);
    EXPECT_EQ(StoredFolder(), folder);

    SetEditorText(std::wstring(3000, L'あ'));
    Open([](HWND dialog) {
        for (int id : {101, 102, 103, 104, 105, 109, 110}) ClickButton(dialog, id);
        ClickButton(dialog, kBrowse);
    }, IDOK);
    const wchar_t* names[] = {L"Option1", L"Option2", L"Option3", L"Option4", L"Option5", L"Option7", L"Option8"};
    const DWORD flipped[] = {0, 0, 1, 1, 1, 0, 0};
    for (int index = 0; index < 7; ++index) EXPECT_EQ(ReadSettingNumber(names[index]), flipped[index]) << index;
    EXPECT_EQ(StoredFolder(), L"C:\\選んだフォルダ");
    EXPECT_GT(CurrentEditor().LineCount(), 1);

    for (const wchar_t* question : {L"作成確認", L"削除確認"}) {
        AnswerWith(question, IDYES);
        AnswerWith(L"完了", IDOK);
    }
    EXPECT_EQ(ClickShortcutButton(), std::make_pair(std::wstring(kCreate), std::wstring(kDelete)));
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    EXPECT_EQ(LinkTarget(folder_.File(L"オリンダ.lnk")), program);
    EXPECT_EQ(ClickShortcutButton(), std::make_pair(std::wstring(kDelete), std::wstring(kCreate)));
    EXPECT_EQ(GetFileAttributesW(folder_.File(L"オリンダ.lnk").c_str()), INVALID_FILE_ATTRIBUTES);

    g_sendTo += L"\\missing";
    std::wstring failure;
    AnswerWith(L"作成確認", IDYES);
    AnswerBoxKeepingText(L"エラー", &failure);
    EXPECT_EQ(ClickShortcutButton().second, kCreate);
    EXPECT_EQ(failure, L"送るメニューにショートカットを作成できませんでした。");

    g_sendTo.clear();
    bool enabled = true;
    Open([&enabled](HWND dialog) { enabled = IsWindowEnabled(GetDlgItem(dialog, kShortcutButton)); });
    EXPECT_FALSE(enabled);
}

}  // namespace
