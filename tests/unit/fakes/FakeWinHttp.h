#pragma once
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "common/Error.h"
#include "platform/WinHttpTransport.h"

namespace torvik::testing {

// Records what a WinHTTP client hands to the platform and answers with
// scripted replies, one per request. A step named in failAt throws the way
// the real transport reports a failed call.
class FakeWinHttp : public WinHttpTransport {
public:
    struct Reply {
        std::wstring rawHeaders = L"HTTP/1.1 200 OK\r\n\r\n";
        std::vector<std::string> chunks;
    };
    struct SentRequest {
        std::wstring host;
        int port = 0;
        WinHttpRequestSettings settings;
        std::string firstData;
        uint32_t totalLength = 0;
        std::vector<std::string> writes;
        std::string Body() const {
            std::string body = firstData;
            for (const auto& w : writes) {
                body += w;
            }
            return body;
        }
    };

    std::vector<WinHttpSessionSettings> sessions;
    std::vector<SentRequest> requests;
    std::deque<Reply> replies;
    std::string failAt; // "connect", "open", "send", "receive", "read"
    int openConnections = 0;

    void Answer(std::wstring rawHeaders, std::vector<std::string> chunks = {}) {
        replies.push_back({std::move(rawHeaders), std::move(chunks)});
    }

    std::unique_ptr<WinHttpConnection> Connect(const WinHttpSessionSettings& session,
                                               const std::wstring& host, int port) override {
        Fail("connect");
        sessions.push_back(session);
        return std::make_unique<Connection>(*this, host, port);
    }

private:
    void Fail(const char* step) const {
        if (failAt == step) {
            throw TorvikError(L"A connection with the server could not be established");
        }
    }

    class Request : public WinHttpRequest {
    public:
        Request(FakeWinHttp& owner, size_t index) : owner_(owner), index_(index) {}
        void Send(std::string_view data, uint32_t totalLength) override {
            owner_.Fail("send");
            Sent().firstData = data;
            Sent().totalLength = totalLength;
        }
        void Write(std::string_view data) override { Sent().writes.emplace_back(data); }
        void ReceiveResponse() override {
            owner_.Fail("receive");
            if (!owner_.replies.empty()) {
                reply_ = owner_.replies.front();
                owner_.replies.pop_front();
            }
        }
        std::wstring RawHeaders() override { return reply_.rawHeaders; }
        std::string ReadAvailable() override {
            owner_.Fail("read");
            if (next_ >= reply_.chunks.size()) {
                return {};
            }
            return reply_.chunks[next_++];
        }

    private:
        SentRequest& Sent() { return owner_.requests[index_]; }
        FakeWinHttp& owner_;
        size_t index_;
        Reply reply_;
        size_t next_ = 0;
    };

    class Connection : public WinHttpConnection {
    public:
        Connection(FakeWinHttp& owner, std::wstring host, int port)
            : owner_(owner), host_(std::move(host)), port_(port) {
            ++owner_.openConnections;
        }
        ~Connection() override { --owner_.openConnections; }
        std::unique_ptr<WinHttpRequest> OpenRequest(const WinHttpRequestSettings& s) override {
            owner_.Fail("open");
            owner_.requests.push_back({host_, port_, s, {}, 0, {}});
            return std::make_unique<Request>(owner_, owner_.requests.size() - 1);
        }

    private:
        FakeWinHttp& owner_;
        std::wstring host_;
        int port_;
    };
};

} // namespace torvik::testing
