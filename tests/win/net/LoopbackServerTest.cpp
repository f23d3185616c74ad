#include <gtest/gtest.h>
#include <winsock2.h>

#include "net/LoopbackServer.h"

namespace torvik::wintest {
namespace {

// A bare Winsock client, so that the server is tested apart from the HTTP
// clients that rely on it.
class RawClient {
public:
    explicit RawClient(uint16_t port) : s_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(port);
        connected_ = ::connect(s_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~RawClient() { ::closesocket(s_); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool Connected() const { return connected_; }
    void SendText(const std::string& text) {
        ::send(s_, text.data(), static_cast<int>(text.size()), 0);
    }
    // Everything until the server closes, or what came within timeoutMs.
    std::string ReadAll(unsigned timeoutMs) {
        std::string out;
        char buffer[4096];
        for (;;) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(s_, &set);
            timeval tv{static_cast<long>(timeoutMs / 1000),
                       static_cast<long>(timeoutMs % 1000) * 1000};
            if (::select(0, &set, nullptr, nullptr, &tv) <= 0) {
                return out;
            }
            const int n = ::recv(s_, buffer, sizeof buffer, 0);
            if (n <= 0) {
                return out;
            }
            out.append(buffer, static_cast<size_t>(n));
        }
    }

private:
    SOCKET s_;
    bool connected_ = false;
};

const std::string kRequest = "POST /x HTTP/1.0\r\nContent-Length: 5\r\n\r\nhello";

TEST(LoopbackServer, RecordsTheRequestAndAnswersTheScriptInPieces) {
    LoopbackServer server;
    const std::string reply = LoopbackServer::Http("HTTP/1.0 200 OK", {"X-A: 1"}, "body", false);
    LoopbackServer::Reply scripted;
    scripted.bytes = reply;
    scripted.pieceSize = 7;
    scripted.pieceDelayMs = 5;
    server.Enqueue(scripted);
    RawClient client(server.Port());
    ASSERT_TRUE(client.Connected());
    client.SendText(kRequest.substr(0, 10));
    client.SendText(kRequest.substr(10));
    EXPECT_EQ(client.ReadAll(5000), "HTTP/1.0 200 OK\r\nX-A: 1\r\nConnection: close\r\n\r\nbody");
    EXPECT_EQ(server.Requests(), std::vector<std::string>{kRequest});
}

TEST(LoopbackServer, SilentRepliesSendNothing) {
    LoopbackServer server;
    server.Enqueue(LoopbackServer::Silent());
    RawClient client(server.Port());
    client.SendText(kRequest);
    EXPECT_EQ(client.ReadAll(300), "");
    EXPECT_TRUE(server.WaitForRequests(1, 1000));
}

TEST(LoopbackServer, RefusingPortHasNoListener) {
    RawClient client(LoopbackServer::RefusingPort());
    EXPECT_FALSE(client.Connected());
}

} // namespace
} // namespace torvik::wintest
