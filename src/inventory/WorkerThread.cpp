#include "inventory/WorkerThread.h"

#include "common/Error.h"

namespace torvik {

WorkerThread::WorkerThread(std::function<void()> body)
    : thread_([this, body = std::move(body)] { Run(body); }) {}

WorkerThread::~WorkerThread() {
    Join();
}

void WorkerThread::Run(const std::function<void()>& body) {
    std::optional<std::wstring> error;
    try {
        body();
    } catch (...) {
        error = CurrentExceptionText();
    }
    std::lock_guard lock(mutex_);
    error_ = std::move(error);
    ended_ = true;
    endedChanged_.notify_all();
}

bool WorkerThread::WaitEnded(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return endedChanged_.wait_for(lock, timeout, [this] { return ended_; });
}

void WorkerThread::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace torvik
