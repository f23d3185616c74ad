#include "support/WinHttpX.h"

#include <algorithm>

#include "common/Text.h"
#include "protocol/Compression.h"
#include "protocol/ReplyText.h"
#include "protocol/Split.h"
#include "protocol/UrlParts.h"

namespace torvik {

const wchar_t kWinHttpXDefaultUserAgent[] =
    L"Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 5.1; Trident/4.0; Mozilla/4.0 (compatible; "
    L"MSIE 6.0; Windows NT 5.1; SV1) ; InfoPath.2; .NET CLR 3.0.04506.648; .NET CLR 2.0.50727; "
    L".NET CLR 3.0.4506.2152; .NET CLR 3.5.30729; WWTClient2; .NET4.0C; .NET4.0E)";

namespace {
constexpr int kUnlimitedTimeout = 2147483647;

// Replaces the Content-Length field for the duration of a post and puts
// back what was there, also when the request fails.
class ContentLengthKeeper {
public:
    explicit ContentLengthKeeper(TWinHTTPRequestHeader& header)
        : header_(header), saved_(header.Get(hContentLength)) {}
    ~ContentLengthKeeper() {
        if (header_.Get(hContentLength) != saved_) {
            header_.Set(hContentLength, saved_);
        }
    }
    ContentLengthKeeper(const ContentLengthKeeper&) = delete;
    ContentLengthKeeper& operator=(const ContentLengthKeeper&) = delete;

private:
    TWinHTTPRequestHeader& header_;
    std::wstring saved_;
};
} // namespace

TWinHttpX::TWinHttpX(WinHttpTransport& transport, const AnsiCodePage& ansi, const FileSystem& files)
    : transport_(transport), ansi_(ansi), files_(files) {
    RequestHeader.Set(hUserAgent, kWinHttpXDefaultUserAgent);
    RequestHeader.OnChange = [this](int field) {
        if (field == hUserAgent || field == -1) {
            Disconnect();
        }
    };
    ProxyParams.OnChange = [this](int) { Disconnect(); };
}

TWinHttpX::~TWinHttpX() {
    Disconnect();
}

void TWinHttpX::ExecuteUrl(const std::wstring& aUrl) {
    if (MultipartPost || RequestMethod == HTTPrm_Post) {
        Post(aUrl);
    } else {
        Get(aUrl);
    }
}

void TWinHttpX::Post(const std::wstring& aUrl) {
    SetUrl(aUrl);
    RequestMethod = HTTPrm_Post;
    RequestHeader.Set(hContentType, MultipartPost ? kMultipartContentType : kUrlEncodedContentType);
    ContentLengthKeeper keeper(RequestHeader);
    PerformRequest();
}

void TWinHttpX::Get(const std::wstring& aUrl) {
    SetUrl(aUrl);
    RequestMethod = HTTPrm_Get;
    PerformRequest();
}

void TWinHttpX::Execute() {
    ExecuteUrl(FURL);
}

std::wstring TWinHttpX::ResponseText() const {
    return LinesToText(resultSl_);
}

void TWinHttpX::SetTimeout(int) {
    ConnectTimeout = 0;
    SendTimeout = 0;
    ReceiveTimeout = 0;
}

void TWinHttpX::SetUploadBufferSize(int value) {
    if (value >= 0) {
        uploadBufferSize_ = value;
    }
}

void TWinHttpX::SetAccessType(TWinHttpAccessType value) {
    if (value != accessType_) {
        accessType_ = value;
        Disconnect();
    }
}

void TWinHttpX::SetUserName(const std::wstring& value) {
    if (value != userName_) {
        userName_ = value;
        Disconnect();
    }
}

void TWinHttpX::SetPasswordX(const std::wstring& value) {
    if (value != password_) {
        password_ = value;
        Disconnect();
    }
}

void TWinHttpX::SetUrl(const std::wstring& aUrl) {
    if (aUrl == FURL) {
        return;
    }
    if (aUrl.empty()) {
        Disconnect();
        FURL.clear();
        FURLHost.clear();
        FURLSite.clear();
        FURLPort = 80;
        FURLScheme = L"http";
        return;
    }
    const std::wstring url = WithDefaultScheme(aUrl);
    const auto parts = CrackUrl(url);
    if (parts && parts->scheme != L"http" && parts->scheme != L"https") {
        throw EWinHttpClientException(L"Invalid url '" + url +
                                      L"' - only supports 'http' and 'https' schemes");
    }
    if (!parts) {
        throw EWinHttpClientException(L"The URL is invalid - URL:" + url);
    }
    if (parts->host != FURLHost || parts->port != FURLPort) {
        Disconnect();
    }
    FURL = url;
    FURLScheme = parts->scheme;
    FURLHost = parts->host;
    FURLPort = parts->port;
    FURLSite = parts->path + parts->extra;
}

void TWinHttpX::PerformRequest() {
    if (FURL.empty()) {
        throw EWinHttpClientException(L"Empty URL");
    }
    workingStatus_ = 1;
    responseStream_.clear();
    resultSl_.clear();
    try {
        const std::string body = MultipartPost ? BuildMultipartBody() : BuildUrlEncodedBody();
        std::unique_ptr<WinHttpRequest> request = Send(body);
        if (!SoftCanceled) {
            try {
                Receive(*request);
            } catch (const EWinHttpClientException&) {
                // The request handle goes before the session it belongs to.
                request.reset();
                Disconnect();
                throw;
            }
        }
    } catch (...) {
        workingStatus_ = 0;
        throw;
    }
    workingStatus_ = 0;
    DecodeResponse();
}

std::string TWinHttpX::BuildMultipartBody() const {
    if (fields_.Empty()) {
        throw TorvikError(L"multipart error: no variables to post");
    }
    return torvik::BuildMultipartBody(fields_, ansi_);
}

std::string TWinHttpX::BuildUrlEncodedBody() const {
    return torvik::BuildUrlEncodedBody(fields_, ansi_);
}

void TWinHttpX::Connect() {
    if (connection_) {
        return;
    }
    WinHttpSessionSettings session;
    session.agent = RequestHeader.Get(hUserAgent);
    session.accessType = accessType_ == wHttpAt_NAMED_PROXY     ? WinHttpAccessType::NamedProxy
                         : accessType_ == wHttpAt_DEFAULT_PROXY ? WinHttpAccessType::DefaultProxy
                                                                : WinHttpAccessType::NoProxy;
    if (accessType_ == wHttpAt_NAMED_PROXY && !ProxyParams.ProxyServer().empty()) {
        session.proxyName =
            ProxyParams.ProxyServer() + L":" + std::to_wstring(ProxyParams.ProxyPort());
        session.proxyBypass = ProxyParams.ProxyBypass();
    }
    session.onStatus = [this](uint32_t status, const void* info, uint32_t length) {
        StatusCallback(status, info, length);
    };
    try {
        connection_ = transport_.Connect(session, FURLHost, FURLPort);
    } catch (const EWinHttpClientException&) {
        throw;
    } catch (const TorvikError& e) {
        RaiseWinHttpError(e);
    }
}

void TWinHttpX::Disconnect() {
    connection_.reset();
}

WinHttpRequestSettings TWinHttpX::RequestSettings() {
    WinHttpRequestSettings s;
    s.verb = RequestMethod == HTTPrm_Post ? L"POST" : L"GET";
    s.objectName = FURLSite;
    s.version = ProtocolVersion == HTTPpv_1_0 ? L"HTTP/1.0" : L"HTTP/1.1";
    s.referrer = RequestHeader.Get(hReferer);
    const std::pair<uint32_t, uint32_t> flagMap[] = {
        {wHttpIo_ESCAPE_DISABLE, kWinHttpFlagEscapeDisable},
        {wHttpIo_ESCAPE_DISABLE_QUERY, kWinHttpFlagEscapeDisableQuery},
        {wHttpIo_ESCAPE_PERCENT, kWinHttpFlagEscapePercent},
        {wHttpIo_NULL_CODEPAGE, kWinHttpFlagNullCodepage},
        {wHttpIo_BYPASS_PROXY_CACHE, kWinHttpFlagRefresh},
        {wHttpIo_REFRESH, kWinHttpFlagRefresh},
        {wHttpIo_SECURE, kWinHttpFlagSecure},
    };
    for (const auto& [option, flag] : flagMap) {
        if ((InternetOptions & option) != 0) {
            s.flags |= flag;
        }
    }
    if (FURLScheme == L"https") {
        s.flags |= kWinHttpFlagSecure;
    }
    if (SendTimeout == 0) {
        SendTimeout = kUnlimitedTimeout;
    }
    if (ReceiveTimeout == 0) {
        ReceiveTimeout = kUnlimitedTimeout;
    }
    s.connectTimeout = ConnectTimeout;
    s.sendTimeout = SendTimeout;
    s.receiveTimeout = ReceiveTimeout;
    s.proxyUserName = ProxyParams.ProxyUserName;
    s.proxyPassword = ProxyParams.ProxyPassword;
    if ((InternetOptions & wHttpIo_Keep_connection) == 0) {
        s.disabledFeatures |= kWinHttpDisableKeepAlive;
    }
    if ((InternetOptions & wHttpIo_No_cookies) != 0) {
        s.disabledFeatures |= kWinHttpDisableCookies;
    }
    if ((InternetOptions & wHttpIo_No_auto_redirect) != 0) {
        s.disabledFeatures |= kWinHttpDisableRedirects;
    }
    s.headers = RequestHeader.RawHeaderText();
    return s;
}

std::unique_ptr<WinHttpRequest> TWinHttpX::Send(const std::string& aRequestData) {
    Connect();
    if (MultipartPost && RequestMethod != HTTPrm_Post) {
        throw EWinHttpClientException(L"RequestMethod must be POST in MultipartPost");
    }
    std::unique_ptr<WinHttpRequest> request;
    try {
        request = connection_->OpenRequest(RequestSettings());
        SendBody(*request, aRequestData);
        request->ReceiveResponse();
    } catch (const TorvikError& e) {
        request.reset();
        Disconnect();
        if (dynamic_cast<const EWinHttpClientException*>(&e) != nullptr) {
            throw;
        }
        RaiseWinHttpError(e);
    }
    return request;
}

void TWinHttpX::SendBody(WinHttpRequest& request, const std::string& body) {
    const auto bufferSize = static_cast<size_t>(uploadBufferSize_);
    if (body.size() <= bufferSize) {
        // Even a GET carries a body: one blank when there is nothing to send.
        const std::string data = body.empty() ? std::string(" ") : body;
        request.Send(data, static_cast<uint32_t>(data.size()));
        return;
    }
    request.Send({}, static_cast<uint32_t>(body.size()));
    size_t position = 0;
    while (position < body.size()) {
        const size_t piece = std::min(bufferSize, body.size() - position);
        if (piece == 0) {
            throw EWinHttpClientException(L"Invalid HTTP Request: Length is 0");
        }
        request.Write(std::string_view(body).substr(position, piece));
        position += piece;
        if (OnUploadProgress) {
            OnUploadProgress(*this, static_cast<int64_t>(position),
                             static_cast<int64_t>(body.size()));
        }
    }
}

void TWinHttpX::Receive(WinHttpRequest& request) {
    try {
        responseHeader_.SetRawHeaderText(request.RawHeaders());
        errorCode_ = 0;
        errorMessage_.clear();
        if (responseHeader_.StatusNumber() >= 300) {
            errorCode_ = responseHeader_.StatusNumber();
            errorMessage_ = responseHeader_.ReasonPhrase;
        }
        const int64_t total = responseHeader_.ContentLengthNumber();
        while (!SoftCanceled) {
            const std::string piece = request.ReadAvailable();
            if (piece.empty()) {
                break;
            }
            responseStream_ += piece;
            if (OnDownloadProgress) {
                OnDownloadProgress(*this, static_cast<int64_t>(responseStream_.size()), total);
            }
        }
    } catch (const EWinHttpClientException&) {
        throw;
    } catch (const TorvikError& e) {
        RaiseWinHttpError(e);
    }
}

void TWinHttpX::DecodeResponse() {
    const std::wstring contentType = responseHeader_.ContentType();
    CheckAndDecompress(responseStream_, contentType == L"gzip" ? 'G' : 'Z');
    const std::wstring text = DecodeReplyText(
        responseStream_, {contentType, responseHeader_.ContentEncoding(), false}, ansi_);
    resultSl_ = TextToLines(text);
}

void TWinHttpX::RaiseWinHttpError(const TorvikError& error) const {
    throw EWinHttpClientException(error.Message() + L" - URL:" + FURL);
}

void TWinHttpX::StatusCallback(uint32_t status, const void* info, uint32_t length) {
    if (OnStatusChange) {
        OnStatusChange(*this, status, info, length);
    }
    if (status == kWinHttpCallbackStatusRedirect && OnRedirect && info != nullptr) {
        OnRedirect(*this, std::wstring(static_cast<const wchar_t*>(info)));
    }
}

} // namespace torvik
