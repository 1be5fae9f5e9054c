#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "app/data_folder.h"
#include "app/outside_world.h"
#include "options/update_check.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

std::string g_versionFile;
bool g_reachable = true;
bool g_shellOpens = true;
std::wstring g_site;
std::vector<std::wstring> g_asked;
std::vector<std::wstring> g_opened;

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

// Answer the next box of this title with `button`; its text lands in `text`.
void AnswerBox(const wchar_t* title, int button, std::wstring* text) {
    AnswerDialog(title, [button, text](HWND box) {
        wchar_t shown[200] = {};
        GetDlgItemTextW(box, 0xFFFF, shown, 200);
        *text = shown;
        PostMessageW(box, WM_COMMAND, button, 0);
    });
}

class HelpAndUpdate : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        saved_ = Outside();
        g_site = L"https://maker.test";
        g_reachable = true;
        g_shellOpens = true;
        g_asked.clear();
        g_opened.clear();
        Outside().makerSite = [] { return g_site; };
        Outside().httpGet = [](const std::wstring& url, size_t maxBytes, std::string& body) {
            g_asked.push_back(url + L" " + std::to_wstring(maxBytes));
            body = g_versionFile;
            return g_reachable;
        };
        Outside().shellOpen = [](const std::wstring& target) {
            g_opened.push_back(target);
            return g_shellOpens;
        };
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        Outside() = saved_;
    }
    void Command(WORD id) { SendMessageW(window_, WM_COMMAND, id, 0); }
    OutsideWorld saved_{};
};

TEST_F(HelpAndUpdate, UpToDateIsToldOnlyToWhoeverAsked) {
    std::wstring box;
    g_versionFile = "501";
    AnswerBox(L"更新チェック", IDOK, &box);
    Command(kCmdUpdateCheck);
    EXPECT_EQ(box, L"お使いのオリンダ Ver5は最新版です");
    ASSERT_EQ(g_asked.size(), 1u);
    EXPECT_EQ(g_asked[0], L"https://maker.test/appversion/orinda500.ver 4");

    box.clear();
    g_versionFile = "<ht";
    AnswerBox(L"更新チェック", IDOK, &box);
    Command(kCmdUpdateCheck);
    EXPECT_EQ(box, L"お使いのオリンダ Ver5は最新版です");

    box.clear();
    g_versionFile = "501";
    RunStartupUpdateCheck(window_);
    PumpMessages(300);
    EXPECT_TRUE(box.empty());
    EXPECT_TRUE(SpokenTexts().empty());
}

TEST_F(HelpAndUpdate, ANewerVersionIsOfferedInBothModes) {
    std::wstring question;
    g_versionFile = "502";
    AnswerBox(L"更新通知", IDYES, &question);
    RunStartupUpdateCheck(window_);
    EXPECT_EQ(question, L"オリンダ Ver5の新しいバージョンが公開されています\n今すぐ作者サイトで確認しますか？");
    EXPECT_EQ(g_opened, std::vector<std::wstring>{L"https://maker.test/orinda/"});

    question.clear();
    AnswerBox(L"更新通知", IDNO, &question);
    Command(kCmdUpdateCheck);
    EXPECT_FALSE(question.empty());
    EXPECT_EQ(g_opened.size(), 1u);
}

TEST_F(HelpAndUpdate, ACheckWithoutAnswerIsSpokenOnlyWhenAsked) {
    g_reachable = false;
    RunStartupUpdateCheck(window_);
    PumpMessages(300);
    EXPECT_TRUE(SpokenTexts().empty());
    Command(kCmdUpdateCheck);
    EXPECT_TRUE(WaitForSpeech(L"更新を確認できませんでした", 2000));

    ClearSpeechLog();
    g_site.clear();
    Command(kCmdUpdateCheck);
    EXPECT_TRUE(WaitForSpeech(L"更新を確認できませんでした", 2000));
    EXPECT_EQ(g_asked.size(), 2u);
}

TEST_F(HelpAndUpdate, ManualsComeFromTheProgramFolderAndTheDataFolderStaysCurrent) {
    Command(kCmdManual);
    Command(kCmdCommandList);
    EXPECT_EQ(g_opened, (std::vector<std::wstring>{ExecutableFolder() + L"\\manual.txt",
                                                   ExecutableFolder() + L"\\command.txt"}));
    EXPECT_EQ(CurrentFolder(), DataFolder());

    g_shellOpens = false;
    Command(kCmdManual);
    EXPECT_TRUE(WaitForSpeech(L"操作マニュアルを開けませんでした", 2000));
}

TEST_F(HelpAndUpdate, PagesAndVersionBox) {
    for (WORD id : {kCmdUpdateHistoryPage, kCmdProductPage, kCmdMakerSite, kCmdContactForm}) Command(id);
    EXPECT_EQ(g_opened, (std::vector<std::wstring>{L"https://maker.test/orinda/ver5/history.html",
                                                   L"https://maker.test/orinda/", L"https://maker.test/",
                                                   L"https://maker.test/inquiry/"}));
    std::wstring version;
    AnswerBox(L"バージョン情報", IDOK, &version);
    Command(kCmdVersion);
    EXPECT_EQ(version, L"オリンダ Ver5.01（2026年2月25日公開）");

    g_site.clear();
    Command(kCmdProductPage);
    EXPECT_TRUE(WaitForSpeech(L"ページを開けませんでした", 2000));
}

}  // namespace
