#include "fakes/FakeInternetApi.h"

#include <new>

#include <chrono>
#include <cstring>

namespace torvik::testing {

NetCall FakeInternetApi::Open(const std::wstring& agent) {
    sent.agent = agent;
    return {openFails ? 0u : 1u, 0};
}

NetCall FakeInternetApi::Connect(NetHandle, const std::wstring& host, int port,
                                 const std::wstring& user, const std::wstring& password) {
    sent.host = host;
    sent.port = port;
    sent.user = user;
    sent.password = password;
    return {connectFails ? 0u : 2u, 0};
}

NetCall FakeInternetApi::OpenRequest(NetHandle, const std::wstring& method,
                                     const std::wstring& path, uint32_t flags) {
    sent.method = method;
    sent.path = path;
    sent.flags = flags;
    return openRequestResult;
}

uint32_t FakeInternetApi::SendRequest(NetHandle, const std::wstring& headers,
                                      const std::string& body) {
    sent.headers = headers;
    sent.body = body;
    return sendError;
}

uint32_t FakeInternetApi::Read(NetHandle, char* buffer, uint32_t size, uint32_t& bytesRead) {
    std::unique_lock lock(mutex_);
    ++reads;
    bytesRead = 0;
    if (silent) {
        // Like a pending call on a connection that sends nothing: it fails
        // once the session handle is closed.
        changed_.wait_for(lock, std::chrono::seconds(30), [this] { return closes_.count(1) != 0; });
        return 12017;
    }
    if (readError != 0) {
        return readError;
    }
    if (readThrows) {
        throw std::bad_alloc();
    }
    if (chunks.empty()) {
        return 0;
    }
    std::string& chunk = chunks.front();
    bytesRead = static_cast<uint32_t>(std::min<size_t>(size, chunk.size()));
    std::memcpy(buffer, chunk.data(), bytesRead);
    chunk.erase(0, bytesRead);
    if (chunk.empty()) {
        chunks.pop_front();
    }
    return 0;
}

void FakeInternetApi::Close(NetHandle handle) {
    std::lock_guard lock(mutex_);
    ++closes_[handle];
    changed_.notify_all();
}

std::map<NetHandle, int> FakeInternetApi::Closes() {
    std::lock_guard lock(mutex_);
    return closes_;
}

bool FakeInternetApi::WaitUntilClosed(NetHandle handle, int ms) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(ms),
                             [&] { return closes_.count(handle) != 0; });
}

} // namespace torvik::testing
