#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace torvik {

// One run of a function on its own thread, for a main thread that waits for
// it while keeping its window alive. A failure inside the function does not
// cross the thread: it ends the run and its message is kept.
class WorkerThread {
public:
    explicit WorkerThread(std::function<void()> body);
    // Waits for the run to end.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Waits up to timeout; true once the run has ended.
    bool WaitEnded(std::chrono::milliseconds timeout);
    // Waits for the thread to end. Everything the run wrote may be read
    // afterwards. May be called again.
    void Join();
    // The message of the failure that ended the run; read after Join.
    const std::optional<std::wstring>& Error() const { return error_; }

private:
    void Run(const std::function<void()>& body);

    std::mutex mutex_;
    std::condition_variable endedChanged_;
    bool ended_ = false;
    std::optional<std::wstring> error_;
    std::thread thread_; // last: starts once everything above exists
};

} // namespace torvik
