#include "service/IEHttpWorker.h"

#include <thread>
#include <utility>

#include "common/Error.h"
#include "common/Text.h"
#include "protocol/Split.h"
#include "service/HeaderLines.h"

namespace torvik {
namespace {
using Clock = std::chrono::steady_clock;

// System error codes that HttpOpenRequestW may leave behind on success.
bool IsHarmlessOpenRequestError(uint32_t code) {
    return code == 122 || code == 126 || code == 183;
}
} // namespace

IEHttpJob::IEHttpJob(InternetApi& api, Inputs inputs)
    : api_(api), in_(std::move(inputs)), lastPacketRead_(Clock::now()) {
    MoveDeadline();
}

void IEHttpJob::MoveDeadline() {
    deadline_ =
        Clock::now() + std::chrono::seconds(in_.timeoutSeconds > 0 ? in_.timeoutSeconds : 0);
}

void IEHttpJob::Run() {
    try {
        Perform();
    } catch (...) {
        // A failure inside the worker ends the request and is raised by
        // Execute like any other: no exception leaves the thread.
        SetErrorMsg(CurrentExceptionText());
    }
    CloseHandles();
    std::lock_guard lock(mutex_);
    finished_ = true;
    signalled_ = true;
    wake_.notify_all();
}

void IEHttpJob::Perform() {
    // The agent name must not carry line breaks into the request's header
    // block.
    std::wstring agent = in_.agent;
    while (!agent.empty() && (agent.back() == L'\n' || agent.back() == L'\r')) {
        agent.pop_back();
    }
    const NetCall session = api_.Open(agent);
    if (session.handle == 0) {
        SetErrorMsg(L"Could not open Internet");
        return;
    }
    if (!Keep(session_, session.handle)) {
        return;
    }
    const NetCall connection =
        api_.Connect(session.handle, in_.host, in_.port, in_.user, in_.password);
    if (connection.handle == 0) {
        SetErrorMsg(L"Could not connect to server " + in_.host);
        return;
    }
    if (!Keep(connection_, connection.handle)) {
        return;
    }
    const NetCall request = api_.OpenRequest(connection.handle, in_.method, in_.path, in_.flags);
    if (request.error != 0 && !IsHarmlessOpenRequestError(request.error)) {
        if (request.handle != 0) {
            Keep(request_, request.handle);
        }
        SetErrorCode(request.error);
        return;
    }
    if (request.handle == 0) {
        SetErrorMsg(L"Could not open HTTP request");
        return;
    }
    if (!Keep(request_, request.handle)) {
        return;
    }
    // Certificate problems are not waved through: an unknown authority is a
    // failure like any other.
    if (const uint32_t error = api_.SendRequest(request.handle, in_.headers, in_.body)) {
        SetErrorCode(error);
        return;
    }

    uint32_t size = api_.QueryContentLength(request.handle);
    std::vector<std::wstring> cookies = api_.QuerySetCookies(request.handle);
    std::wstring raw = api_.QueryRawHeaders(request.handle).substr(0, kMaxRawHeaderChars);
    if (size == 0) {
        size = 1;
    }
    if (size < 2) {
        // Read as the server may write it ("Custom-Content-Length:4000" too);
        // a value that is not a number keeps the size we have.
        const auto custom =
            ParseHeaderNumber(ReceivedHeaderValue(TextToLines(raw), L"Custom-Content-Length"));
        if (custom && *custom != 0) {
            size = *custom;
        }
    }
    {
        std::lock_guard lock(mutex_);
        if (abandoned_) {
            return;
        }
        contentSize_ = size;
        bytesReadTotal_ = 0;
        out_.cookies = std::move(cookies);
        out_.rawHeaders = std::move(raw);
        MoveDeadline();
    }
    ReadBody(request.handle);
}

void IEHttpJob::ReadBody(NetHandle request) {
    std::string buffer(kReadBufferSize, '\0');
    int failedReads = 0;
    for (;;) {
        uint32_t count = 0;
        const uint32_t error = api_.Read(request, buffer.data(), kReadBufferSize, count);
        {
            std::lock_guard lock(mutex_);
            if (abandoned_) {
                return;
            }
            if (error == 0 && count > 0) {
                out_.body.append(buffer.data(), count);
                bytesReadTotal_ += count;
                ++packets_;
                lastPacketRead_ = Clock::now();
                MoveDeadline();
                if (in_.wakeOnPackets) {
                    signalled_ = true;
                    wake_.notify_all();
                }
            }
        }
        if (error == 0) {
            if (count == 0) {
                return;
            }
            failedReads = 0;
            continue;
        }
        // A failed read is tried again; the caller's inactivity limit ends a
        // request that keeps failing. Without a limit, give up after a while
        // and say why rather than spin for ever.
        if (in_.timeoutSeconds <= 0 && ++failedReads >= kMaxFailedReadsWithoutTimeout) {
            SetErrorCode(error);
            return;
        }
        std::this_thread::sleep_for(in_.failedReadPause);
    }
}

bool IEHttpJob::Keep(NetHandle& slot, NetHandle handle) {
    {
        std::lock_guard lock(mutex_);
        if (!abandoned_) {
            slot = handle;
            return true;
        }
    }
    // The caller gave up meanwhile and closed what it knew of.
    api_.Close(handle);
    return false;
}

void IEHttpJob::CloseHandles() {
    NetHandle request, connection, session;
    {
        std::lock_guard lock(mutex_);
        request = std::exchange(request_, 0);
        connection = std::exchange(connection_, 0);
        session = std::exchange(session_, 0);
    }
    for (const NetHandle h : {request, connection, session}) {
        if (h != 0) {
            api_.Close(h);
        }
    }
}

void IEHttpJob::SetErrorMsg(const std::wstring& text) {
    std::lock_guard lock(mutex_);
    if (!abandoned_) {
        out_.errorMsg = text;
    }
}

void IEHttpJob::SetErrorCode(uint32_t code) {
    std::lock_guard lock(mutex_);
    if (!abandoned_) {
        out_.errorCode = code;
    }
}

bool IEHttpJob::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, timeout, [this] { return signalled_; });
    signalled_ = false;
    return finished_;
}

IEHttpJob::Outcome IEHttpJob::Abandon() {
    NetHandle session;
    Outcome recorded;
    {
        std::lock_guard lock(mutex_);
        abandoned_ = true;
        session = std::exchange(session_, 0);
        recorded.errorMsg = out_.errorMsg;
        recorded.errorCode = out_.errorCode;
        recorded.cookies = out_.cookies;
        recorded.rawHeaders = out_.rawHeaders;
    }
    if (session != 0) {
        api_.Close(session);
    }
    return recorded;
}

IEHttpJob::Outcome IEHttpJob::TakeOutcome() {
    std::lock_guard lock(mutex_);
    return std::move(out_);
}

bool IEHttpJob::Finished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

SteadyTime IEHttpJob::LastPacketRead() const {
    std::lock_guard lock(mutex_);
    return lastPacketRead_;
}

SteadyTime IEHttpJob::Deadline() const {
    std::lock_guard lock(mutex_);
    return deadline_;
}

} // namespace torvik
