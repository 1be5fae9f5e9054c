#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "core/outside_world.h"
#include "options/update_check.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

std::string g_versionFile;
bool g_reachable = true;
std::wstring g_site;
std::vector<std::wstring> g_asked;
std::vector<std::wstring> g_opened;

class HelpAndUpdate : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        g_site = L"https://maker.test";
        g_reachable = true;
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
            return g_reachable;
        };
    }
    // The text of the box with this title that command `id` shows (0: the
    // start-up check), answered with `button`; empty when it shows none.
    std::wstring BoxShownBy(WORD id, const wchar_t* title, int button = IDOK) {
        std::wstring text;
        AnswerDialog(title, [button, &text](HWND box) {
            text = DialogItemText(box, 0xFFFF);
            PostMessageW(box, WM_COMMAND, button, 0);
        });
        if (id) SendCommand(id);
        else RunStartupUpdateCheck(window_);
        return text;
    }
};

TEST_F(HelpAndUpdate, UpToDateIsToldOnlyToWhoeverAskedAndANewerVersionIsOfferedInBothModes) {
    g_versionFile = "501";
    EXPECT_EQ(BoxShownBy(kCmdUpdateCheck, L"更新チェック"), L"お使いのオリンダ Ver5は最新版です");
    EXPECT_EQ(g_asked, std::vector<std::wstring>{L"https://maker.test/appversion/orinda500.ver 4"});
    EXPECT_EQ(BoxShownBy(0, L"更新チェック"), L"");

    const std::wstring question = L"オリンダ Ver5の新しいバージョンが公開されています\n今すぐ作者サイトで確認しますか？";
    g_versionFile = "502";
    EXPECT_EQ(BoxShownBy(0, L"更新通知", IDYES), question);
    EXPECT_EQ(g_opened, std::vector<std::wstring>{L"https://maker.test/orinda/"});
    EXPECT_EQ(BoxShownBy(kCmdUpdateCheck, L"更新通知", IDNO), question);
    EXPECT_EQ(g_opened.size(), 1u);
}

TEST_F(HelpAndUpdate, ACheckWithoutAnswerIsSpokenOnlyWhenAskedAndManualsPagesAndVersionOpen) {
    g_reachable = false;
    RunStartupUpdateCheck(window_);
    EXPECT_TRUE(NothingHeard());
    const double asked = fake::NowMs();
    SendCommand(kCmdUpdateCheck);
    EXPECT_GE(SpeechDelay(L"更新を確認できませんでした", asked), 100);
    g_site.clear();
    ClearSpeechLog();
    SendCommand(kCmdUpdateCheck);
    EXPECT_TRUE(WaitForSpeech(L"更新を確認できませんでした", 2000));
    EXPECT_EQ(g_asked.size(), 2u);
    // An answer that is no version number (an error page served as 200) is
    // no check, and never "up to date".
    g_site = L"https://maker.test";
    g_reachable = true;
    g_versionFile = "<ht";
    ClearSpeechLog();
    EXPECT_EQ(BoxShownBy(kCmdUpdateCheck, L"更新チェック"), L"");
    EXPECT_TRUE(WaitForSpeech(L"更新を確認できませんでした", 2000));

    for (WORD id : {kCmdManual, kCmdCommandList, kCmdUpdateHistoryPage, kCmdProductPage, kCmdMakerSite,
                    kCmdContactForm})
        SendCommand(id);
    EXPECT_EQ(g_opened, (std::vector<std::wstring>{
                            ExecutableFolder() + L"\\manual.txt", ExecutableFolder() + L"\\command.txt",
                            L"https://maker.test/orinda/ver5/history.html", L"https://maker.test/orinda/",
                            L"https://maker.test/", L"https://maker.test/inquiry/"}));
    EXPECT_EQ(BoxShownBy(kCmdVersion, L"バージョン情報"), L"オリンダ Ver5.01（2026年2月25日公開）");

    g_reachable = false;
    SendCommand(kCmdManual);
    EXPECT_TRUE(WaitForSpeech(L"操作マニュアルを開けませんでした", 2000));
    // A build without the maker's site says so for its pages.
    g_site.clear();
    SendCommand(kCmdContactForm);
    EXPECT_TRUE(WaitForSpeech(L"ページを開けませんでした", 2000));
}

}  // namespace
