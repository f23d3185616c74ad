#include "net/LoopbackServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <stdexcept>

namespace torvik::wintest {
namespace {

constexpr unsigned kPollMs = 20;

struct WinsockSession {
    WinsockSession() {
        WSADATA data;
        if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
            throw std::runtime_error("WSAStartup failed");
        }
    }
    ~WinsockSession() { ::WSACleanup(); }
};

void EnsureWinsock() {
    static WinsockSession session;
}

SOCKET BindLoopback(uint16_t& port) {
    EnsureWinsock();
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        throw std::runtime_error("socket failed");
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    int len = sizeof addr;
    if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        ::closesocket(s);
        throw std::runtime_error("bind failed");
    }
    port = ntohs(addr.sin_port);
    return s;
}

// Whether the socket has data (or was closed) within timeoutMs.
bool Readable(SOCKET s, unsigned timeoutMs) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    return ::select(0, &set, nullptr, nullptr, &tv) > 0;
}

size_t ContentLength(const std::string& head) {
    std::string lower = head;
    for (auto& c : lower) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    const size_t at = lower.find("\r\ncontent-length:");
    if (at == std::string::npos) {
        return 0;
    }
    return std::stoul(head.substr(at + 17));
}

void SendAll(SOCKET s, const char* data, size_t size) {
    while (size > 0) {
        const int n = ::send(s, data, static_cast<int>(size), 0);
        if (n <= 0) {
            return;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
}

} // namespace

LoopbackServer::LoopbackServer() {
    const SOCKET s = BindLoopback(port_);
    listener_ = s;
    if (::listen(s, SOMAXCONN) != 0) {
        ::closesocket(s);
        throw std::runtime_error("listen failed");
    }
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
    stopping_ = true;
    acceptor_.join();
    for (auto& worker : workers_) {
        worker.join();
    }
    ::closesocket(static_cast<SOCKET>(listener_));
}

std::wstring LoopbackServer::Url(const std::wstring& path) const {
    return L"http://127.0.0.1:" + std::to_wstring(port_) + path;
}

void LoopbackServer::Enqueue(Reply reply) {
    std::lock_guard lock(mutex_);
    replies_.push_back(std::move(reply));
}

std::string LoopbackServer::Http(const std::string& statusLine,
                                 const std::vector<std::string>& headers, const std::string& body,
                                 bool withLength) {
    std::string out = statusLine + "\r\n";
    for (const auto& h : headers) {
        out += h + "\r\n";
    }
    if (withLength) {
        out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    }
    return out + "Connection: close\r\n\r\n" + body;
}

std::vector<std::string> LoopbackServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool LoopbackServer::WaitForRequests(size_t count, unsigned timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (Requests().size() >= count) {
            return true;
        }
        ::Sleep(kPollMs);
    }
    return Requests().size() >= count;
}

uint16_t LoopbackServer::RefusingPort() {
    uint16_t port = 0;
    ::closesocket(BindLoopback(port));
    return port;
}

void LoopbackServer::AcceptLoop() {
    const auto listener = static_cast<SOCKET>(listener_);
    while (!stopping_) {
        if (!Readable(listener, kPollMs)) {
            continue;
        }
        const SOCKET client = ::accept(listener, nullptr, nullptr);
        if (client != INVALID_SOCKET) {
            workers_.emplace_back([this, client] { Serve(client); });
        }
    }
}

bool LoopbackServer::WaitUntilClosed(uintptr_t socket) {
    const auto s = static_cast<SOCKET>(socket);
    char buffer[4096];
    while (!stopping_) {
        if (Readable(s, kPollMs) && ::recv(s, buffer, sizeof buffer, 0) <= 0) {
            return true;
        }
    }
    return false;
}

void LoopbackServer::Serve(uintptr_t socket) {
    const auto s = static_cast<SOCKET>(socket);
    std::string data;
    char buffer[16384];
    size_t needed = std::string::npos;
    while (!stopping_ && (needed == std::string::npos || data.size() < needed)) {
        if (!Readable(s, kPollMs)) {
            continue;
        }
        const int n = ::recv(s, buffer, sizeof buffer, 0);
        if (n <= 0) {
            ::closesocket(s);
            return;
        }
        data.append(buffer, static_cast<size_t>(n));
        const size_t headEnd = data.find("\r\n\r\n");
        if (needed == std::string::npos && headEnd != std::string::npos) {
            needed = headEnd + 4 + ContentLength(data.substr(0, headEnd + 2));
        }
    }
    Reply reply;
    reply.bytes = Http("HTTP/1.1 200 OK", {}, "");
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(data);
        if (!replies_.empty()) {
            reply = std::move(replies_.front());
            replies_.pop_front();
        }
    }
    if (reply.silent) {
        WaitUntilClosed(socket);
        ::closesocket(s);
        return;
    }
    const size_t piece = reply.pieceSize == 0 ? reply.bytes.size() : reply.pieceSize;
    for (size_t at = 0; at < reply.bytes.size() && !stopping_; at += piece) {
        if (at > 0 && reply.pieceDelayMs > 0) {
            ::Sleep(reply.pieceDelayMs);
        }
        SendAll(s, reply.bytes.data() + at, std::min(piece, reply.bytes.size() - at));
    }
    if (reply.holdOpen) {
        WaitUntilClosed(socket);
    }
    ::shutdown(s, SD_SEND);
    ::closesocket(s);
}

} // namespace torvik::wintest
