#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/InternetApi.h"

namespace torvik {

using SteadyTime = std::chrono::steady_clock::time_point;

// One request of TIEHttp as its worker thread performs it. The inputs are
// fixed before the worker starts; everything the worker produces sits behind
// the mutex, and once the caller has abandoned the job (stop or time-out) the
// worker changes nothing the caller reads any more. Both hold the job through
// a shared_ptr, so a worker that outlives its caller's wait stays sound.
class IEHttpJob {
public:
    struct Inputs {
        std::wstring agent;
        std::wstring host;
        int port = 80;
        std::wstring user, password;
        std::wstring method;
        std::wstring path;
        uint32_t flags = 0;
        std::wstring headers;
        std::string body;
        int timeoutSeconds = 0;
        bool wakeOnPackets = false;
        std::chrono::milliseconds failedReadPause{50};
    };
    // What the caller takes over when the request ends.
    struct Outcome {
        std::string body;
        std::vector<std::wstring> cookies;
        std::wstring rawHeaders;
        std::wstring errorMsg;
        uint32_t errorCode = 0;
    };

    static constexpr uint32_t kReadBufferSize = 32768;
    static constexpr size_t kMaxRawHeaderChars = 5000;
    // With no inactivity limit, this many failed reads in a row end the
    // request with the read's error instead of retrying for ever.
    static constexpr int kMaxFailedReadsWithoutTimeout = 100;

    IEHttpJob(InternetApi& api, Inputs inputs);

    // The worker thread's body.
    void Run();

    // Caller side. Waits until the worker signals or the time passes; true
    // when the worker has finished.
    bool Wait(std::chrono::milliseconds timeout);
    // Stops taking results, closes the session handle so that the worker's
    // pending call fails, and returns what was recorded so far.
    Outcome Abandon();
    // The results of a finished job.
    Outcome TakeOutcome();

    bool Finished() const;
    SteadyTime LastPacketRead() const;
    SteadyTime Deadline() const;
    uint32_t BytesReadTotal() const { return bytesReadTotal_.load(); }
    uint32_t ContentSize() const { return contentSize_.load(); }
    int DebugTotalPackets() const { return packets_.load(); }

private:
    void Perform();
    void ReadBody(NetHandle request);
    // Stores a new handle unless the job was abandoned meanwhile (then it is
    // closed at once); false when the worker must stop.
    bool Keep(NetHandle& slot, NetHandle handle);
    void CloseHandles();
    void SetErrorMsg(const std::wstring& text);
    void SetErrorCode(uint32_t code);
    void Signal();
    void MoveDeadline();

    InternetApi& api_;
    const Inputs in_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool signalled_ = false;
    bool finished_ = false;
    bool abandoned_ = false;
    NetHandle session_ = 0, connection_ = 0, request_ = 0;
    Outcome out_;
    SteadyTime lastPacketRead_;
    SteadyTime deadline_;
    std::atomic<uint32_t> bytesReadTotal_{0};
    std::atomic<uint32_t> contentSize_{0};
    std::atomic<int> packets_{0};
};

} // namespace torvik
