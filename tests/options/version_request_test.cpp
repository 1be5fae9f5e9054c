// The real request of the update check, against a server on the loopback
// address: nothing leaves the machine.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/outside_world.h"
#include "support/test_support.h"

namespace {

// Ask the real request for a URL whose server answers `answer`; returns the
// body it took, or "refused".
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
    const bool taken = testing_support::RealOutsideWorld().httpGet(
        L"http://127.0.0.1:" + std::to_wstring(ntohs(address.sin_port)) + L"/appversion/orinda500.ver", 4, body);
    closesocket(listener);
    server.join();
    WSACleanup();
    return taken ? body : "refused";
}

TEST(VersionRequest, TakesOnlyAnOkAnswerAndAtMostFourBytesOfIt) {
    EXPECT_EQ(BodyFrom("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\n50"), "50");
    EXPECT_EQ(BodyFrom("HTTP/1.1 200 OK\r\nContent-Length: 6\r\nConnection: close\r\n\r\n0502xy"), "0502");
    EXPECT_EQ(BodyFrom("HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\nConnection: close\r\n\r\n999"), "refused");
}

}  // namespace
