#include "platform/win32/Win32InternetApi.h"

#include <windows.h>
#include <wininet.h>

namespace torvik::win32 {
namespace {
HINTERNET H(NetHandle h) {
    return reinterpret_cast<HINTERNET>(h);
}
NetHandle N(HINTERNET h) {
    return reinterpret_cast<NetHandle>(h);
}
const wchar_t* OrNull(const std::wstring& s) {
    return s.empty() ? nullptr : s.c_str();
}
} // namespace

NetCall Win32InternetApi::Open(const std::wstring& agent) {
    const HINTERNET h =
        ::InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    return {N(h), h ? 0 : static_cast<uint32_t>(::GetLastError())};
}

NetCall Win32InternetApi::Connect(NetHandle session, const std::wstring& host, int port,
                                  const std::wstring& user, const std::wstring& password) {
    const HINTERNET h =
        ::InternetConnectW(H(session), host.c_str(), static_cast<INTERNET_PORT>(port), OrNull(user),
                           OrNull(password), INTERNET_SERVICE_HTTP, 0, 0);
    return {N(h), h ? 0 : static_cast<uint32_t>(::GetLastError())};
}

NetCall Win32InternetApi::OpenRequest(NetHandle connection, const std::wstring& method,
                                      const std::wstring& path, uint32_t flags) {
    ::SetLastError(0);
    const HINTERNET h = ::HttpOpenRequestW(H(connection), method.c_str(), path.c_str(), L"HTTP/1.0",
                                           nullptr, nullptr, flags, 0);
    return {N(h), static_cast<uint32_t>(::GetLastError())};
}

uint32_t Win32InternetApi::SendRequest(NetHandle request, const std::wstring& headers,
                                       const std::string& body) {
    const BOOL ok = ::HttpSendRequestW(
        H(request), headers.empty() ? nullptr : headers.c_str(), static_cast<DWORD>(headers.size()),
        body.empty() ? nullptr : const_cast<char*>(body.data()), static_cast<DWORD>(body.size()));
    return ok ? 0 : static_cast<uint32_t>(::GetLastError());
}

uint32_t Win32InternetApi::QueryContentLength(NetHandle request) {
    DWORD length = 0;
    DWORD size = sizeof length;
    DWORD index = 0;
    if (!::HttpQueryInfoW(H(request), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length,
                          &size, &index)) {
        return 0;
    }
    return length;
}

std::vector<std::wstring> Win32InternetApi::QuerySetCookies(NetHandle request) {
    std::vector<std::wstring> cookies;
    for (DWORD index = 0;;) {
        wchar_t buffer[5000] = {};
        DWORD size = sizeof buffer; // bytes: 10000
        const DWORD before = index;
        if (!::HttpQueryInfoW(H(request), HTTP_QUERY_SET_COOKIE, buffer, &size, &index) ||
            index == before) {
            break;
        }
        cookies.emplace_back(buffer, size / sizeof(wchar_t));
    }
    return cookies;
}

std::wstring Win32InternetApi::QueryRawHeaders(NetHandle request) {
    DWORD size = 0;
    ::HttpQueryInfoW(H(request), HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, nullptr);
    if (size == 0) {
        return {};
    }
    std::wstring headers(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(headers.size() * sizeof(wchar_t));
    if (!::HttpQueryInfoW(H(request), HTTP_QUERY_RAW_HEADERS_CRLF, headers.data(), &bytes,
                          nullptr)) {
        return {};
    }
    headers.resize(bytes / sizeof(wchar_t));
    return headers;
}

uint32_t Win32InternetApi::Read(NetHandle request, char* buffer, uint32_t size,
                                uint32_t& bytesRead) {
    DWORD read = 0;
    const BOOL ok = ::InternetReadFile(H(request), buffer, size, &read);
    bytesRead = ok ? read : 0;
    return ok ? 0 : static_cast<uint32_t>(::GetLastError());
}

void Win32InternetApi::Close(NetHandle handle) {
    ::InternetCloseHandle(H(handle));
}

bool Win32InternetApi::IsOnline() {
    INTERNET_CONNECTED_INFO info{};
    DWORD size = sizeof info;
    if (!::InternetQueryOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &info, &size)) {
        return false;
    }
    return (info.dwConnectedState & INTERNET_STATE_CONNECTED) != 0;
}

void Win32InternetApi::RelaxDefaultReceiveTimeout() {
    DWORD timeout = 0;
    DWORD size = sizeof timeout;
    if (::InternetQueryOptionW(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, &size) &&
        timeout == 30000) {
        timeout = 0;
        ::InternetSetOptionW(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    }
}

} // namespace torvik::win32
