#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "platform/WinHttpTransport.h"
#include "protocol/Multipart.h"
#include "support/WinHttpCommon.h"

namespace torvik {

enum TWinHttpRequestMethod { HTTPrm_Get, HTTPrm_Post };
enum TWinHttpProtocolVersion { HTTPpv_1_0, HTTPpv_1_1 };
enum TWinHttpAccessType { wHttpAt_NO_PROXY, wHttpAt_DEFAULT_PROXY, wHttpAt_NAMED_PROXY };
// InternetOptions is a set of these bits.
enum TWinHttpInternetOption : uint32_t {
    wHttpIo_Async = 1u << 0,
    wHttpIo_BYPASS_PROXY_CACHE = 1u << 1,
    wHttpIo_ESCAPE_DISABLE = 1u << 2,
    wHttpIo_ESCAPE_DISABLE_QUERY = 1u << 3,
    wHttpIo_ESCAPE_PERCENT = 1u << 4,
    wHttpIo_NULL_CODEPAGE = 1u << 5,
    wHttpIo_REFRESH = 1u << 6,
    wHttpIo_SECURE = 1u << 7,
    wHttpIo_Keep_connection = 1u << 8,
    wHttpIo_No_cookies = 1u << 9,
    wHttpIo_No_auto_redirect = 1u << 10,
};

// The program's synchronous HTTP client over WinHTTP: GET and form posts
// (URL-encoded or multipart), the whole reply read into memory, the
// program's compression undone, the text decoded into lines. Session and
// connection stay open between requests to the same host and port. Form
// fields persist for the life of an instance: each request sends every
// field ever added, with its last value. Not for use by two threads.
class TWinHttpX {
public:
    TWinHttpX(WinHttpTransport& transport, const AnsiCodePage& ansi, const FileSystem& files);
    ~TWinHttpX();
    TWinHttpX(const TWinHttpX&) = delete;
    TWinHttpX& operator=(const TWinHttpX&) = delete;

    // POST when MultipartPost or RequestMethod is POST, otherwise GET.
    // Returns when the whole reply has been read; throws
    // EWinHttpClientException when a WinHTTP call fails (the connection is
    // dropped) and for addresses that are empty or not http or https. A
    // status of 300 or more raises nothing: see errorCode.
    void ExecuteUrl(const std::wstring& aUrl);
    void Post(const std::wstring& aUrl);
    void Get(const std::wstring& aUrl);
    void Execute();
    // The reply's lines, each followed by CR LF.
    std::wstring ResponseText() const;

    // Text fields: added, or replaced in place when the name exists.
    void AddMultipartVar(const std::wstring& field, const std::wstring& value);
    void AddVariable(const std::wstring& field, const std::wstring& value);
    void AddMultipartVarW(const std::wstring& field, const std::wstring& value);
    // Binary fields; they need MultipartPost set beforehand.
    void AddMultipartVarA(const std::wstring& field, const std::string& bytes);
    void AddMultipartVarBin(const std::wstring& field, const std::wstring& fileName,
                            const std::string& bytes);
    void AddMultipartFormFile(const std::wstring& fieldName, const std::wstring& fileName);
    void AddMultipartFormFile(const std::wstring& fieldName, const std::wstring& fieldFilename,
                              const std::string& bytes);
    // The bytes as BreakUU(B64Encode(bytes)), added as a text field.
    void AddMultipartVar_B64(const std::wstring& field, const std::string& bytes);
    void AddMultipartStream(const std::wstring& field, const std::string& bytes);
    void AddMultipartFile(const std::wstring& field, const std::wstring& fileName);

    void Connect();
    void Disconnect();
    bool Connected() const { return connection_ != nullptr; }
    std::unique_ptr<WinHttpRequest> Send(const std::string& aRequestData);
    void Receive(WinHttpRequest& request);
    // Does nothing: requests are synchronous.
    void StopRequest(bool /*wait*/) {}

    TWinHttpRequestMethod RequestMethod = HTTPrm_Get;
    TWinHttpProtocolVersion ProtocolVersion = HTTPpv_1_1;
    bool MultipartPost = false;
    int ConnectTimeout = 0;
    int SendTimeout = 0;
    int ReceiveTimeout = 0;
    // Setting it, to any value, sets all three time-outs to 0.
    void SetTimeout(int value);
    int UploadBufferSize() const { return uploadBufferSize_; }
    // Negative values are ignored.
    void SetUploadBufferSize(int value);
    TWinHttpAccessType AccessType() const { return accessType_; }
    void SetAccessType(TWinHttpAccessType value);
    const std::wstring& UserName() const { return userName_; }
    void SetUserName(const std::wstring& value);
    const std::wstring& PasswordX() const { return password_; }
    void SetPasswordX(const std::wstring& value);
    uint32_t InternetOptions = wHttpIo_Keep_connection;
    TWinHTTPClientProxyParams ProxyParams;
    TWinHTTPRequestHeader RequestHeader;
    bool SoftCanceled = false;
    bool BlockingMode = true;

    const MultipartFields& PostVariables() const { return fields_; }
    const std::wstring& URL() const { return FURL; }
    const std::wstring& URLHost() const { return FURLHost; }
    const std::wstring& URLSite() const { return FURLSite; }
    int URLPort() const { return FURLPort; }
    const std::wstring& URLScheme() const { return FURLScheme; }

    const TWinHTTPResponseHeader& aResponseContentHeader() const { return responseHeader_; }
    const std::vector<std::wstring>& ResultSl() const { return resultSl_; }
    // The reply body after decompression.
    const std::string& ResultMs() const { return responseStream_; }
    int errorCode() const { return errorCode_; }
    const std::wstring& errorMessage() const { return errorMessage_; }
    int WorkingStatus() const { return workingStatus_; }

    std::function<void(TWinHttpX& sender, int64_t sent, int64_t total)> OnUploadProgress;
    std::function<void(TWinHttpX& sender, int64_t read, int64_t total)> OnDownloadProgress;
    std::function<void(TWinHttpX& sender, const std::wstring& newUrl)> OnRedirect;
    std::function<void(TWinHttpX& sender, uint32_t internetStatus, const void* statusInformation,
                       uint32_t statusInformationLength)>
        OnStatusChange;

private:
    void SetUrl(const std::wstring& aUrl);
    void PerformRequest();
    void DecodeResponse();
    std::string BuildMultipartBody() const;
    std::string BuildUrlEncodedBody() const;
    void RequireMultipart() const;
    WinHttpRequestSettings RequestSettings();
    void SendBody(WinHttpRequest& request, const std::string& body);
    [[noreturn]] void RaiseWinHttpError(const TorvikError& error) const;
    void StatusCallback(uint32_t status, const void* info, uint32_t length);

    WinHttpTransport& transport_;
    const AnsiCodePage& ansi_;
    const FileSystem& files_;
    std::unique_ptr<WinHttpConnection> connection_;
    MultipartFields fields_;
    int uploadBufferSize_ = 32768;
    TWinHttpAccessType accessType_ = wHttpAt_NO_PROXY;
    std::wstring userName_;
    std::wstring password_;

    std::wstring FURL;
    std::wstring FURLHost;
    std::wstring FURLSite;
    int FURLPort = 80;
    std::wstring FURLScheme = L"http";

    std::string responseStream_;
    TWinHTTPResponseHeader responseHeader_;
    std::vector<std::wstring> resultSl_;
    int errorCode_ = 0;
    std::wstring errorMessage_;
    int workingStatus_ = 0;
};

// The User-Agent a new client sends.
extern const wchar_t kWinHttpXDefaultUserAgent[];

} // namespace torvik
