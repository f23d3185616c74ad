#pragma once
#include "platform/InternetApi.h"

namespace torvik::win32 {

// InternetApi over WinInet.
class Win32InternetApi : public InternetApi {
public:
    NetCall Open(const std::wstring& agent) override;
    NetCall Connect(NetHandle session, const std::wstring& host, int port, const std::wstring& user,
                    const std::wstring& password) override;
    NetCall OpenRequest(NetHandle connection, const std::wstring& method, const std::wstring& path,
                        uint32_t flags) override;
    uint32_t SendRequest(NetHandle request, const std::wstring& headers,
                         const std::string& body) override;
    uint32_t QueryContentLength(NetHandle request) override;
    std::vector<std::wstring> QuerySetCookies(NetHandle request) override;
    std::wstring QueryRawHeaders(NetHandle request) override;
    uint32_t Read(NetHandle request, char* buffer, uint32_t size, uint32_t& bytesRead) override;
    void Close(NetHandle handle) override;
    bool IsOnline() override;
    void RelaxDefaultReceiveTimeout() override;
};

} // namespace torvik::win32
