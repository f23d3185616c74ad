#pragma once
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/InternetApi.h"
#include "protocol/Multipart.h"
#include "service/IEHttpWorker.h"

namespace torvik {

// TIEHttp performs one HTTP request at a time over WinInet: GET, URL-encoded
// POST and multipart POST. The request runs on a worker thread while the
// calling thread waits in a loop that fires OnPacketRead and OnTimer,
// enforces the inactivity limit Timeout and honours StopRequest. Failures
// raise TorvikError with fixed texts.
class TIEHttp {
public:
    using Event = std::function<void(TIEHttp&)>;

    struct Services {
        InternetApi& api;
        const AnsiCodePage& ansi;
        Dialogs* dialogs = nullptr;            // asks before overriding a running request
        FileSystem* fs = nullptr;              // for the file-reading Add... operations
        std::function<void()> processMessages; // pumps window messages outside blocking mode
    };

    explicit TIEHttp(Services services);
    ~TIEHttp();
    TIEHttp(const TIEHttp&) = delete;
    TIEHttp& operator=(const TIEHttp&) = delete;

    // Properties. PostStr, GetStr, MultipartPOST and RequestMethod cannot
    // change while a request runs.
    const std::wstring& PostStr() const { return postStr_; }
    void SetPostStr(const std::wstring& value);
    const std::wstring& GetStr() const { return getStr_; }
    void SetGetStr(const std::wstring& value);
    const std::wstring& URL() const { return url_; }
    void SetURL(const std::wstring& value);
    int Timeout = 90;             // seconds of silence before giving up; 0 or less: none
    int TimerIntervalSeconds = 0; // period of OnTimer; 0 or less: none
    // The pause before a failed read is tried again.
    std::chrono::milliseconds FailedReadPause{50};
    bool BlockingMode = true; // false: window messages are processed while waiting
    const std::wstring& RequestMethod() const { return requestMethod_; }
    void SetRequestMethod(const std::wstring& value);
    bool MultipartPOST() const { return multipartPost_; }
    void SetMultipartPOST(bool value);
    Event OnPacketRead;
    Event OnTimer;

    void ExecuteUrl(const std::wstring& url);
    void Execute();
    void StopRequest(bool wait = false);
    bool Canceled() const { return ErrorCode == 101; }

    float GetProgress() const;
    float GetProgressPercentage() const { return 100.0f * GetProgress(); }
    std::wstring GetStringPercentage() const;
    bool CheckIEOnline() { return services_.api.IsOnline(); }

    void AddRequestHeader(const std::wstring& name, const std::wstring& value);
    void DeleteRequestHeader(const std::wstring& name);
    int GetRequestHeaderIdx(const std::wstring& name) const;
    int GetResponseHeaderIdx(const std::wstring& name) const;
    std::wstring GetRequestHeaderValue(const std::wstring& name) const;
    std::wstring GetResponseHeaderValue(const std::wstring& name) const;

    void AddMultipartVar(const std::wstring& field, const std::wstring& value) {
        AddMultipartVarW(field, value);
    }
    void AddMultipartVarW(const std::wstring& field, const std::wstring& value);
    void AddMultipartVarBin(const std::wstring& field, const std::wstring& fileName,
                            const std::string& bytes);
    void AddMultipartVar_B64(const std::wstring& field, const std::string& bytes);
    void AddMultipartStream(const std::wstring& field, const std::string& stream) {
        AddMultipartVar_B64(field, stream);
    }
    // Throw TorvikError when the file cannot be read.
    void AddMultipartFile(const std::wstring& field, const std::wstring& fileName);
    void AddMultipartFormFile(const std::wstring& field, const std::wstring& fileName,
                              const std::string& stream);
    void AddMultipartFormFile(const std::wstring& field, const std::wstring& fileName);
    std::string FileToB64String(const std::wstring& fileName) const;
    const MultipartFields& Multipart() const { return fields_; }

    // Bytes received so far for the current reply, and its announced size.
    uint32_t BytesReadTotal() const;
    uint32_t ContentSize() const;
    int WorkingStatus() const { return workingStatus_.load(); }

    bool ForceHttpReload = true;
    uint32_t DWErrorX = 0;
    std::wstring ErrorMsg;
    std::wstring HttpAgentString = L"TIEHttp";
    std::vector<std::wstring> ResultSl;
    std::string ResultMs; // the reply bytes after decompression
    std::string ResultRaw;
    std::vector<std::wstring> Cookies;
    std::vector<std::wstring> RequestHeaders;
    std::vector<std::wstring> ResponseHeaders;
    int ErrorCode = 0; // 100 after a time-out, 101 after a stop
    std::wstring proxyUsername, proxyPassword;
    int debugTotalPackets = 0, debugTotalPacketEvents = 0, debugTotalTimerEvents = 0;
    char UnzipMethod = '\0';
    bool AllowCompression = true;

private:
    // Builds the job's path, headers and body; may set ErrorMsg.
    IEHttpJob::Inputs PrepareRequest();
    void WaitForWorker(const std::shared_ptr<IEHttpJob>& job);
    void FireEvents(const IEHttpJob& job);
    void TakeOver(const IEHttpJob& job, IEHttpJob::Outcome outcome);
    void DecodeResult();
    void CheckIdle(const wchar_t* message) const;
    void ReapWorkers(bool all);

    Services services_;
    std::wstring postStr_, getStr_, url_;
    std::wstring urlError_; // why URL could not be used; empty when it can
    std::wstring requestMethod_ = L"GET";
    bool multipartPost_ = false;
    std::wstring contentType_;
    MultipartFields fields_;

    // The pieces of URL.
    std::wstring hostName_, userName_, password_, urlPath_;
    int port_ = 80;
    bool secure_ = false;
    std::string extraInfoAnsi_; // the URL's query, encoded

    std::atomic<int> workingStatus_{0};
    std::atomic<bool> flagRequestToStop_{false};
    bool flagTimeoutOccured_ = false;
    std::chrono::steady_clock::time_point lastTimerProcessed_{};
    std::chrono::steady_clock::time_point lastPacketProcessed_{};
    uint32_t finalBytesRead_ = 0, finalContentSize_ = 0;
    std::shared_ptr<IEHttpJob> job_;
    struct Worker {
        std::shared_ptr<IEHttpJob> job;
        std::thread thread;
    };
    std::vector<Worker> workers_;
};

} // namespace torvik
