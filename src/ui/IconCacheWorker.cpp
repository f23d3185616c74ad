#include "ui/IconCacheWorker.h"

namespace torvik {

IconCacheWorker::IconCacheWorker(ProgramIconCache& cache, std::chrono::milliseconds idlePeriod)
    : cache_(cache), idlePeriod_(idlePeriod), thread_([this] { Run(); }) {}

IconCacheWorker::~IconCacheWorker() {
    stop_.store(true);
    cache_.WakeWaiters();
    thread_.join();
}

void IconCacheWorker::Run() {
    while (!stop_.load()) {
        if (cache_.WaitForQueued(idlePeriod_)) {
            cache_.FetchQueued(stop_);
        }
    }
}

} // namespace torvik
