#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace torvik::wintest {

// A small HTTP server on 127.0.0.1 for the HTTP clients' tests. It records
// the exact bytes of every request (header block and Content-Length body)
// and answers each with the next scripted reply, then closes the
// connection. A reply can be sent in timed pieces, or the server can stay
// silent until the client gives up.
class LoopbackServer {
public:
    struct Reply {
        std::string bytes;         // sent as they are
        bool silent = false;       // send nothing; wait until the client closes
        size_t pieceSize = 0;      // 0: all at once
        unsigned pieceDelayMs = 0; // pause before every piece after the first
        bool holdOpen = false;     // after sending, wait until the client closes
    };

    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>" + path.
    std::wstring Url(const std::wstring& path) const;

    static Reply Silent() {
        Reply r;
        r.silent = true;
        return r;
    }

    // Queues a reply for the next request without one. Requests beyond the
    // queue get an empty "200 OK".
    void Enqueue(Reply reply);
    // A complete reply: status line, the header lines (each without CR LF),
    // "Content-Length" unless withLength is false, "Connection: close", body.
    static std::string Http(const std::string& statusLine, const std::vector<std::string>& headers,
                            const std::string& body, bool withLength = true);

    // The raw bytes of every complete request so far, in arrival order.
    std::vector<std::string> Requests() const;
    // Waits until count requests have arrived or timeoutMs passed.
    bool WaitForRequests(size_t count, unsigned timeoutMs) const;

    // A port on 127.0.0.1 where nothing listens: connections are refused.
    static uint16_t RefusingPort();

private:
    void AcceptLoop();
    void Serve(uintptr_t socket);
    bool WaitUntilClosed(uintptr_t socket);

    uintptr_t listener_;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::deque<Reply> replies_;
    std::vector<std::string> requests_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

} // namespace torvik::wintest
