#include "platform/win32/Win32WinHttp.h"

#include <windows.h>
#include <winhttp.h>

#include <vector>

#include "common/Error.h"
#include "platform/win32/UniqueHandle.h"

namespace torvik::win32 {
namespace {

static_assert(kWinHttpFlagEscapePercent == WINHTTP_FLAG_ESCAPE_PERCENT);
static_assert(kWinHttpFlagNullCodepage == WINHTTP_FLAG_NULL_CODEPAGE);
static_assert(kWinHttpFlagEscapeDisable == WINHTTP_FLAG_ESCAPE_DISABLE);
static_assert(kWinHttpFlagEscapeDisableQuery == WINHTTP_FLAG_ESCAPE_DISABLE_QUERY);
static_assert(kWinHttpFlagRefresh == WINHTTP_FLAG_REFRESH);
static_assert(kWinHttpFlagSecure == WINHTTP_FLAG_SECURE);
static_assert(kWinHttpDisableCookies == WINHTTP_DISABLE_COOKIES);
static_assert(kWinHttpDisableRedirects == WINHTTP_DISABLE_REDIRECTS);
static_assert(kWinHttpDisableKeepAlive == WINHTTP_DISABLE_KEEP_ALIVE);
static_assert(kWinHttpCallbackStatusRedirect == WINHTTP_CALLBACK_STATUS_REDIRECT);

struct WinHttpHandleTraits {
    using Handle = HINTERNET;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::WinHttpCloseHandle(h); }
};
using UniqueWinHttpHandle = UniqueHandle<WinHttpHandleTraits>;

std::wstring ErrorText(DWORD code) {
    wchar_t buffer[256] = {};
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                               code, 0, buffer, 256, nullptr);
    if (n == 0) {
        n = ::FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                             ::GetModuleHandleW(L"winhttp.dll"), code, 0, buffer, 256, nullptr);
    }
    std::wstring text(buffer, n);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) {
        text.pop_back();
    }
    // Some systems have no text for the WinHTTP codes: the number at least.
    return text.empty() ? L"WinHTTP error " + std::to_wstring(code) : text;
}

[[noreturn]] void RaiseLastWinHttpError() {
    throw TorvikError(ErrorText(::GetLastError()));
}

void Check(BOOL ok) {
    if (!ok) {
        RaiseLastWinHttpError();
    }
}

void SetDwordOption(HINTERNET h, DWORD option, DWORD value) {
    Check(::WinHttpSetOption(h, option, &value, sizeof value));
}

const wchar_t* OrNull(const std::wstring& s) {
    return s.empty() ? nullptr : s.c_str();
}

void CALLBACK StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info,
                             DWORD length) {
    const auto* callback = reinterpret_cast<const WinHttpStatusCallback*>(context);
    if (callback != nullptr && *callback) {
        (*callback)(status, info, length);
    }
}

class Request : public WinHttpRequest {
public:
    Request(UniqueWinHttpHandle handle, const WinHttpStatusCallback* callback)
        : handle_(std::move(handle)), callback_(callback) {}

    void Send(std::string_view data, uint32_t totalLength) override {
        Check(::WinHttpSendRequest(
            handle_.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
            data.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(data.data()),
            static_cast<DWORD>(data.size()), totalLength, reinterpret_cast<DWORD_PTR>(callback_)));
    }
    void Write(std::string_view data) override {
        DWORD written = 0;
        Check(::WinHttpWriteData(handle_.get(), data.data(), static_cast<DWORD>(data.size()),
                                 &written));
    }
    void ReceiveResponse() override { Check(::WinHttpReceiveResponse(handle_.get(), nullptr)); }
    std::wstring RawHeaders() override {
        std::vector<wchar_t> buffer(4096 / sizeof(wchar_t));
        for (;;) {
            DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
            if (::WinHttpQueryHeaders(handle_.get(), WINHTTP_QUERY_RAW_HEADERS_CRLF,
                                      WINHTTP_HEADER_NAME_BY_INDEX, buffer.data(), &size,
                                      WINHTTP_NO_HEADER_INDEX)) {
                return std::wstring(buffer.data(), size / sizeof(wchar_t));
            }
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
                RaiseLastWinHttpError();
            }
            buffer.resize(size / sizeof(wchar_t) + 1);
        }
    }
    std::string ReadAvailable() override {
        DWORD available = 0;
        Check(::WinHttpQueryDataAvailable(handle_.get(), &available));
        if (available == 0) {
            return {};
        }
        std::string data(available, '\0');
        DWORD read = 0;
        Check(::WinHttpReadData(handle_.get(), data.data(), available, &read));
        data.resize(read);
        return data;
    }

private:
    UniqueWinHttpHandle handle_;
    const WinHttpStatusCallback* callback_;
};

class Connection : public WinHttpConnection {
public:
    Connection(UniqueWinHttpHandle session, WinHttpStatusCallback callback)
        : session_(std::move(session)), callback_(std::move(callback)) {}
    ~Connection() override {
        if (callback_) {
            for (HINTERNET h : {connect_.get(), session_.get()}) {
                if (h != nullptr) {
                    ::WinHttpSetStatusCallback(h, nullptr, WINHTTP_CALLBACK_FLAG_ALL_NOTIFICATIONS,
                                               0);
                }
            }
        }
        connect_.reset();
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void Open(const std::wstring& host, int port) {
        if (callback_) {
            ::WinHttpSetStatusCallback(session_.get(), StatusCallback,
                                       WINHTTP_CALLBACK_FLAG_ALL_NOTIFICATIONS, 0);
        }
        connect_.reset(
            ::WinHttpConnect(session_.get(), host.c_str(), static_cast<INTERNET_PORT>(port), 0));
        if (!connect_) {
            RaiseLastWinHttpError();
        }
    }

    std::unique_ptr<WinHttpRequest> OpenRequest(const WinHttpRequestSettings& s) override {
        UniqueWinHttpHandle h(::WinHttpOpenRequest(
            connect_.get(), s.verb.c_str(), s.objectName.c_str(), s.version.c_str(),
            OrNull(s.referrer), WINHTTP_DEFAULT_ACCEPT_TYPES, s.flags));
        if (!h) {
            RaiseLastWinHttpError();
        }
        if (s.connectTimeout > 0) {
            SetDwordOption(h.get(), WINHTTP_OPTION_CONNECT_TIMEOUT, s.connectTimeout);
        }
        SetDwordOption(h.get(), WINHTTP_OPTION_SEND_TIMEOUT, s.sendTimeout);
        SetDwordOption(h.get(), WINHTTP_OPTION_RECEIVE_TIMEOUT, s.receiveTimeout);
        if (!s.proxyUserName.empty()) {
            Check(::WinHttpSetOption(h.get(), WINHTTP_OPTION_PROXY_USERNAME,
                                     const_cast<wchar_t*>(s.proxyUserName.c_str()),
                                     static_cast<DWORD>(s.proxyUserName.size())));
        }
        if (!s.proxyPassword.empty()) {
            Check(::WinHttpSetOption(h.get(), WINHTTP_OPTION_PROXY_PASSWORD,
                                     const_cast<wchar_t*>(s.proxyPassword.c_str()),
                                     static_cast<DWORD>(s.proxyPassword.size())));
        }
        if (s.disabledFeatures != 0) {
            SetDwordOption(h.get(), WINHTTP_OPTION_DISABLE_FEATURE, s.disabledFeatures);
        }
        if (!s.headers.empty()) {
            Check(
                ::WinHttpAddRequestHeaders(h.get(), s.headers.c_str(), static_cast<DWORD>(-1),
                                           WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE));
        }
        return std::make_unique<Request>(std::move(h), callback_ ? &callback_ : nullptr);
    }

private:
    UniqueWinHttpHandle session_;
    WinHttpStatusCallback callback_;
    UniqueWinHttpHandle connect_;
};

DWORD AccessTypeValue(WinHttpAccessType type) {
    switch (type) {
    case WinHttpAccessType::DefaultProxy:
        return WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
    case WinHttpAccessType::NamedProxy:
        return WINHTTP_ACCESS_TYPE_NAMED_PROXY;
    default:
        return WINHTTP_ACCESS_TYPE_NO_PROXY;
    }
}

} // namespace

std::unique_ptr<WinHttpConnection>
Win32WinHttpTransport::Connect(const WinHttpSessionSettings& session, const std::wstring& host,
                               int port) {
    UniqueWinHttpHandle root(::WinHttpOpen(
        session.agent.c_str(), AccessTypeValue(session.accessType),
        session.proxyName.empty() ? WINHTTP_NO_PROXY_NAME : session.proxyName.c_str(),
        session.proxyBypass.empty() ? WINHTTP_NO_PROXY_BYPASS : session.proxyBypass.c_str(), 0));
    if (!root) {
        RaiseLastWinHttpError();
    }
    auto connection = std::make_unique<Connection>(std::move(root), session.onStatus);
    connection->Open(host, port);
    return connection;
}

} // namespace torvik::win32
