#pragma once
#include <atomic>
#include <chrono>
#include <thread>

#include "ui/ProgramIconCache.h"

namespace torvik {

// The thread that fetches what painting queued in a ProgramIconCache: it
// sleeps until a file is queued (looking again at least every idle period),
// fetches every queued icon and lets the cache tell the window once per
// batch. Starts at construction; the destructor stops it between two icons
// and waits for it. The cache must outlive the worker.
class IconCacheWorker {
public:
    explicit IconCacheWorker(ProgramIconCache& cache,
                             std::chrono::milliseconds idlePeriod = std::chrono::milliseconds(100));
    ~IconCacheWorker();
    IconCacheWorker(const IconCacheWorker&) = delete;
    IconCacheWorker& operator=(const IconCacheWorker&) = delete;

private:
    void Run();

    ProgramIconCache& cache_;
    std::chrono::milliseconds idlePeriod_;
    std::atomic<bool> stop_{false};
    std::thread thread_; // last: starts once everything above exists
};

} // namespace torvik
