#pragma once
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

#include "platform/InternetApi.h"

namespace torvik::testing {

// A scripted WinInet: records what a request sends and answers with the
// scripted reply. A silent reply blocks reads until the session is closed.
class FakeInternetApi : public InternetApi {
public:
    // Script.
    bool openFails = false;
    bool connectFails = false;
    NetCall openRequestResult{3, 0};
    uint32_t sendError = 0;
    uint32_t contentLength = 0;
    std::vector<std::wstring> cookies;
    std::wstring rawHeaders = L"HTTP/1.1 200 OK\r\nContent-Type: text/plain";
    std::deque<std::string> chunks;
    bool silent = false;
    uint32_t readError = 0;  // every read fails with this when set
    bool readThrows = false; // every read raises a standard exception

    // Record.
    struct Sent {
        std::wstring agent, host, user, password, method, path, headers;
        int port = 0;
        uint32_t flags = 0;
        std::string body;
    };
    Sent sent;
    int reads = 0;

    NetCall Open(const std::wstring& agent) override;
    NetCall Connect(NetHandle, const std::wstring& host, int port, const std::wstring& user,
                    const std::wstring& password) override;
    NetCall OpenRequest(NetHandle, const std::wstring& method, const std::wstring& path,
                        uint32_t flags) override;
    uint32_t SendRequest(NetHandle, const std::wstring& headers, const std::string& body) override;
    uint32_t QueryContentLength(NetHandle) override { return contentLength; }
    std::vector<std::wstring> QuerySetCookies(NetHandle) override { return cookies; }
    std::wstring QueryRawHeaders(NetHandle) override { return rawHeaders; }
    uint32_t Read(NetHandle, char* buffer, uint32_t size, uint32_t& bytesRead) override;
    void Close(NetHandle handle) override;
    bool IsOnline() override { return true; }
    void RelaxDefaultReceiveTimeout() override { relaxed = true; }

    bool relaxed = false;
    // How often each handle was closed.
    std::map<NetHandle, int> Closes();
    // Blocks until the worker has closed the request handle (it ended).
    bool WaitUntilClosed(NetHandle handle, int ms = 5000);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<NetHandle, int> closes_;
};

} // namespace torvik::testing
