#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app/commands.h"
#include "core/outside_world.h"
#include "options/update_check.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

// The body that the real request takes from a server on the loopback address
// (nothing leaves the machine) that answers `answer`, or "refused".
std::string BodyFrom(const std::string& answer) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    bind(listener, reinterpret_cast<sockaddr*>(&address), size);
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    std::thread server([listener, &answer] {
        const SOCKET client = accept(listener, nullptr, nullptr);
        char request[2048];
        recv(client, request, sizeof request, 0);
        send(client, answer.data(), static_cast<int>(answer.size()), 0);
        closesocket(client);
    });
    std::string body;
    const bool taken = RealOutsideWorld().httpGet(
        L"http://127.0.0.1:" + std::to_wstring(ntohs(address.sin_port)) + L"/appversion/orinda500.ver", 4, body);
    closesocket(listener);
    server.join();
    WSACleanup();
    return taken ? body : "refused";
}

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

TEST(VersionRequest, TakesOnlyAnOkAnswerAndAtMostFourBytesOfIt) {
    EXPECT_EQ(BodyFrom("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\n50"), "50");
    EXPECT_EQ(BodyFrom("HTTP/1.1 200 OK\r\nContent-Length: 6\r\nConnection: close\r\n\r\n0502xy"), "0502");
    EXPECT_EQ(BodyFrom("HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\nConnection: close\r\n\r\n999"), "refused");
}

}  // namespace
