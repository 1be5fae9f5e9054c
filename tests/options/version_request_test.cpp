// The real request of the update check, against a server on this machine's
// loopback address: nothing leaves the machine.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/outside_world.h"

namespace {

// Answers one request on a loopback port with `answer`, sent in two pieces.
class LoopbackServer {
public:
    explicit LoopbackServer(std::string answer) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof address;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
        listen(listener_, 1);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        worker_ = std::thread([this, answer] {
            const SOCKET client = accept(listener_, nullptr, nullptr);
            char request[2048];
            recv(client, request, sizeof request, 0);
            const size_t half = answer.size() - 2;
            send(client, answer.data(), static_cast<int>(half), 0);
            Sleep(100);
            send(client, answer.data() + half, static_cast<int>(answer.size() - half), 0);
            closesocket(client);
        });
    }
    ~LoopbackServer() {
        closesocket(listener_);
        worker_.join();
        WSACleanup();
    }
    std::wstring Url() const { return L"http://127.0.0.1:" + std::to_wstring(port_) + L"/appversion/orinda500.ver"; }

private:
    SOCKET listener_;
    int port_ = 0;
    std::thread worker_;
};

TEST(VersionRequest, TakesOnlyAnOkAnswerAndReadsItsFirstBytesAcrossPieces) {
    std::string body;
    {
        LoopbackServer server("HTTP/1.1 200 OK\r\nContent-Length: 3\r\nConnection: close\r\n\r\n502");
        EXPECT_TRUE(Outside().httpGet(server.Url(), 4, body));
        EXPECT_EQ(body, "502");
    }
    {
        LoopbackServer server("HTTP/1.1 200 OK\r\nContent-Length: 6\r\nConnection: close\r\n\r\n0502xy");
        EXPECT_TRUE(Outside().httpGet(server.Url(), 4, body));
        EXPECT_EQ(body, "0502");
    }
    {
        LoopbackServer server("HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\nConnection: close\r\n\r\n999");
        EXPECT_FALSE(Outside().httpGet(server.Url(), 4, body));
    }
}

}  // namespace
