#include "service/IEHttp.h"

#include <cmath>

#include "common/Error.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "protocol/Compression.h"
#include "protocol/Encodings.h"
#include "protocol/ReplyText.h"
#include "protocol/Split.h"
#include "protocol/UrlEncode.h"
#include "protocol/UrlParts.h"
#include "service/HeaderLines.h"
#include "service/WinInetErrors.h"

namespace torvik {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const wchar_t kBusyProperty[] = L"TIEHttp: Cannot change parameters while processing request";

// A whole number with "," between thousands, as the progress text shows it.
std::wstring WithThousands(double value) {
    std::wstring digits = std::to_wstring(static_cast<long long>(std::llround(value)));
    const bool negative = !digits.empty() && digits[0] == L'-';
    if (negative) {
        digits.erase(0, 1);
    }
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) {
        digits.insert(static_cast<size_t>(i), L",");
    }
    return negative ? L"-" + digits : digits;
}

} // namespace

TIEHttp::TIEHttp(Services services) : services_(std::move(services)) {
    SetRequestMethod(L"GET");
    services_.api.RelaxDefaultReceiveTimeout();
}

TIEHttp::~TIEHttp() {
    ReapWorkers(true);
}

void TIEHttp::CheckIdle(const wchar_t* message) const {
    if (workingStatus_ != 0) {
        throw TorvikError(message);
    }
}

void TIEHttp::SetPostStr(const std::wstring& value) {
    CheckIdle(kBusyProperty);
    postStr_ = value;
}

void TIEHttp::SetGetStr(const std::wstring& value) {
    CheckIdle(kBusyProperty);
    getStr_ = value;
}

void TIEHttp::SetMultipartPOST(bool value) {
    CheckIdle(kBusyProperty);
    multipartPost_ = value;
    SetRequestMethod(value ? L"POST" : requestMethod_);
}

void TIEHttp::SetRequestMethod(const std::wstring& value) {
    CheckIdle(L"Cannot change parameters while processing request");
    const std::wstring method = UpperCaseAscii(value);
    if (method != L"GET" && method != L"POST") {
        throw TorvikError(L"Unsupported method. Allowed methods: GET, POST");
    }
    requestMethod_ = method;
    contentType_ = method == L"POST" ? std::wstring(multipartPost_ ? kMultipartContentType
                                                                   : kUrlEncodedContentType)
                                     : std::wstring();
}

void TIEHttp::SetURL(const std::wstring& value) {
    url_ = value;
    urlError_.clear();
    if (value.empty()) {
        return;
    }
    const std::wstring full =
        LowerCaseAscii(value).find(L"://") == std::wstring::npos ? L"http://" + value : value;
    const std::optional<UrlParts> parts = CrackUrl(full);
    if (!parts) {
        urlError_ = L"TIEHttp: Invalid URL. Error - 12005 = " + WinInetErrorText(12005);
    } else if (parts->path.empty()) {
        urlError_ = L"TIEHttp: Empty URL";
    }
    if (!urlError_.empty()) {
        ErrorMsg = urlError_;
        return;
    }
    hostName_ = parts->host;
    port_ = parts->port;
    secure_ = parts->scheme == L"https" || port_ == 443;
    urlPath_ = DecodeUrlEscapes(parts->path);
    extraInfoAnsi_ = services_.ansi.FromText(EncodeURLEx(DecodeUrlEscapes(parts->extra)));
    if (!parts->userName.empty() && userName_.empty()) {
        userName_ = DecodeUrlEscapes(parts->userName);
        password_ = DecodeUrlEscapes(parts->password);
    }
}

void TIEHttp::ExecuteUrl(const std::wstring& url) {
    SetURL(url);
    Execute();
}

void TIEHttp::StopRequest(bool /*wait*/) {
    if (workingStatus_ > 0) {
        flagRequestToStop_ = true;
    }
}

uint32_t TIEHttp::BytesReadTotal() const {
    return job_ ? job_->BytesReadTotal() : finalBytesRead_;
}
uint32_t TIEHttp::ContentSize() const {
    return job_ ? job_->ContentSize() : finalContentSize_;
}

float TIEHttp::GetProgress() const {
    const uint32_t size = ContentSize();
    return size == 0 ? 0.0f : static_cast<float>(BytesReadTotal()) / static_cast<float>(size);
}

std::wstring TIEHttp::GetStringPercentage() const {
    const std::wstring percent =
        ContentSize() != 0 ? WithThousands(100.0 * GetProgress()) + L"%" : L"[]";
    return L"Bytes Read: " + WithThousands(BytesReadTotal()) + L" \rTotal File Size: " +
           WithThousands(ContentSize()) + L"\rStatus: " + percent + L" done";
}

void TIEHttp::Execute() {
    if (workingStatus_ != 0) {
        if (services_.dialogs == nullptr ||
            !services_.dialogs->AskOkCancel(
                0, L"Request is in progress (iehttp). Override and continue?", L"")) {
            return;
        }
    }
    workingStatus_ = 1;
    ErrorCode = 0;
    DWErrorX = 0;
    ErrorMsg.clear();
    finalBytesRead_ = 0;
    finalContentSize_ = 0;
    if (url_.empty()) {
        workingStatus_ = 0;
        throw TorvikError(L"TIEHttp: no url in execute method");
    }
    try {
        ResultSl.clear();
        ResultMs.clear();
        ResultRaw.clear();
        flagRequestToStop_ = false;
        flagTimeoutOccured_ = false;
        debugTotalPackets = debugTotalPacketEvents = debugTotalTimerEvents = 0;
        // An address that could not be read is not sent anywhere, least of
        // all to the host of an earlier one.
        ErrorMsg = urlError_;
        IEHttpJob::Inputs inputs = ErrorMsg.empty() ? PrepareRequest() : IEHttpJob::Inputs{};
        if (ErrorMsg.empty() && DWErrorX == 0) {
            auto job = std::make_shared<IEHttpJob>(services_.api, std::move(inputs));
            job_ = job;
            lastPacketProcessed_ = job->LastPacketRead();
            workers_.push_back({job, std::thread([job] { job->Run(); })});
            WaitForWorker(job);
            job_.reset();
        }
        try {
            CheckAndDecompress(ResultMs, UnzipMethod);
        } catch (const EDecompressedTooLarge& e) {
            throw TorvikError(L"TIEHttp error: " + e.Message());
        }
        ResultRaw = ResultMs;
        DecodeResult();
    } catch (...) {
        job_.reset();
        fields_.Clear();
        workingStatus_ = 0;
        ReapWorkers(false);
        throw;
    }
    fields_.Clear();
    if (multipartPost_) {
        // The query's pairs went into this request's form.
        extraInfoAnsi_.clear();
    }
    workingStatus_ = 0;
    ReapWorkers(false);
    if (DWErrorX > 0) {
        throw TorvikError(L"Wininet error # " + std::to_wstring(DWErrorX) + L" : " +
                          WinInetErrorText(DWErrorX));
    }
    if (!ErrorMsg.empty()) {
        throw TorvikError(L"TIEHttp error: " + ErrorMsg);
    }
}

IEHttpJob::Inputs TIEHttp::PrepareRequest() {
    IEHttpJob::Inputs in;
    in.agent = HttpAgentString + L"\n\n";
    in.host = hostName_;
    in.port = port_;
    in.user = userName_;
    in.password = password_;
    in.method = requestMethod_;
    in.timeoutSeconds = Timeout;
    in.wakeOnPackets = static_cast<bool>(OnPacketRead);
    in.failedReadPause = FailedReadPause;
    // An "https" address, or port 443, means the secure channel, with every
    // certificate check on: an "https" address on another port must not
    // carry the user id and the inventory in clear.
    in.flags = secure_ ? kInternetFlagSecure | kInternetFlagPragmaNoCache : 0;
    if (ForceHttpReload) {
        in.flags |= kInternetFlagReload;
    }

    const bool isGet = requestMethod_ == L"GET";
    std::wstring body = isGet ? L"" : WidenAscii(extraInfoAnsi_);
    in.path = urlPath_ + (isGet ? services_.ansi.ToText(extraInfoAnsi_) : L"");
    in.path = AppendQueryToPath(in.path, getStr_);
    getStr_.clear();

    if (!body.empty() && body[0] == L'?') {
        body.erase(0, 1);
    }
    if (!postStr_.empty()) {
        if (isGet) {
            ErrorMsg = L"No PostStr allowed in GET method";
            return in;
        }
        body += (body.empty() ? L"" : L"&") + postStr_;
        postStr_.clear();
    }
    if (requestMethod_ != L"POST") {
        contentType_.clear();
    } else if (contentType_.empty()) {
        contentType_ = kUrlEncodedContentType;
    }
    if (contentType_.find(L"Content-Type:") != std::wstring::npos) {
        ErrorMsg = L"Invalid ContentType: " + contentType_;
        return in;
    }
    if (!contentType_.empty()) {
        AddRequestHeader(L"Content-Type", contentType_);
    } else {
        DeleteRequestHeader(L"Content-Type");
    }
    if (!proxyUsername.empty()) {
        const std::string credentials =
            services_.ansi.FromText(proxyUsername) + ":" + services_.ansi.FromText(proxyPassword);
        AddRequestHeader(L"Proxy-Authorization", L"Basic " + WidenAscii(B64Encode(credentials)));
    }
    if (AllowCompression) {
        AddRequestHeader(L"Accept-Encoding", L"gzip, deflate");
    } else {
        DeleteRequestHeader(L"Accept-Encoding");
    }
    in.headers = LinesToText(RequestHeaders);

    if (ContainsTextAscii(contentType_, L"multipart")) {
        if (!body.empty() && body[0] == L'&') {
            body.erase(0, 1);
        }
        if (!body.empty()) {
            for (const std::wstring& piece : _x_Split(body, L"&", true)) {
                const std::vector<std::wstring> pair = _x_Split(piece, L"=", true);
                if (pair.size() != 2) {
                    ErrorMsg = L"could not convert " + piece + L" to multipart";
                    return in;
                }
                AddMultipartVarW(pair[0], pair[1]);
            }
        }
        if (fields_.Empty()) {
            ErrorMsg = L"multipart error: no variables to post";
            return in;
        }
        in.body = torvik::BuildMultipartBody(fields_, services_.ansi);
    } else {
        in.body = StringToUtf8(body);
    }
    return in;
}

void TIEHttp::WaitForWorker(const std::shared_ptr<IEHttpJob>& job) {
    for (;;) {
        const bool finished = job->Wait(BlockingMode ? 500ms : 10ms);
        FireEvents(*job);
        if (!BlockingMode && services_.processMessages) {
            services_.processMessages();
        }
        std::this_thread::sleep_for(50ms);
        if (flagRequestToStop_) {
            workingStatus_ = 0;
            TakeOver(*job, job->Abandon());
            ResultMs.clear();
            ErrorCode = 101;
            return;
        }
        if (Timeout > 0 && Clock::now() > job->Deadline()) {
            TakeOver(*job, job->Abandon());
            flagTimeoutOccured_ = true;
            ResultMs.clear();
            ErrorCode = 100;
            return;
        }
        if (finished) {
            TakeOver(*job, job->TakeOutcome());
            return;
        }
    }
}

void TIEHttp::FireEvents(const IEHttpJob& job) {
    if (OnPacketRead) {
        const SteadyTime last = job.LastPacketRead();
        if (last > lastPacketProcessed_) {
            lastPacketProcessed_ = last;
            ++debugTotalPacketEvents;
            OnPacketRead(*this);
        }
    }
    if (OnTimer && TimerIntervalSeconds > 0) {
        const SteadyTime now = Clock::now();
        if (now > lastTimerProcessed_ + std::chrono::seconds(TimerIntervalSeconds)) {
            lastTimerProcessed_ = now;
            ++debugTotalTimerEvents;
            OnTimer(*this);
        }
    }
}

void TIEHttp::TakeOver(const IEHttpJob& job, IEHttpJob::Outcome outcome) {
    ResultMs = std::move(outcome.body);
    Cookies = std::move(outcome.cookies);
    ResponseHeaders = TextToLines(outcome.rawHeaders);
    DWErrorX = outcome.errorCode;
    ErrorMsg = std::move(outcome.errorMsg);
    finalBytesRead_ = job.BytesReadTotal();
    finalContentSize_ = job.ContentSize();
    debugTotalPackets = job.DebugTotalPackets();
}

void TIEHttp::DecodeResult() {
    const std::wstring headers = LinesToText(ResponseHeaders);
    ReplyCharsetEvidence evidence{headers, headers, true};
    ResultSl = TextToLines(DecodeReplyText(ResultRaw, evidence, services_.ansi));
}

void TIEHttp::ReapWorkers(bool all) {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (all || it->job->Finished()) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace torvik
