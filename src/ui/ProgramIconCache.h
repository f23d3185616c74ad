#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

#include "common/Guarded.h"
#include "platform/FileSystem.h"
#include "platform/ShellLinks.h"

namespace torvik {

// An icon the cache keeps; what it holds (a shell icon handle, a test's
// marker) is the business of the source that made it.
class CachedIcon {
public:
    virtual ~CachedIcon() = default;
};

// Where icons come from: the shell on Windows, a fake in tests.
class IconSource {
public:
    virtual ~IconSource() = default;
    // The small icon for a key (see IconKey.h), asked by name only: the file
    // need not exist. nullptr when there is none. May throw TorvikError.
    // Called with no lock of the cache held.
    virtual std::unique_ptr<CachedIcon> SmallIcon(const std::wstring& key) = 0;
};

struct IconCacheServices {
    const FileSystem& fs;
    const ShellLinks& links;
    IconSource& source;
    // After each batch of fetched icons, on the worker's thread, with no
    // lock of the cache held: the window posts itself a repaint.
    std::function<void()> iconsArrived;
    // A failure to work out or fetch one icon ("1: " or "2: " + its text);
    // the worker goes on.
    std::function<void(const std::wstring&)> reportError;
    // Whether a caller that must not wait is served from its file type's
    // icon (GuessedIconKey) when that is cached.
    bool enableHeuristics = true;
};

// The program list's icons: a lookup never waits for the shell; a miss
// queues the file and returns nothing, and the worker (IconCacheWorker)
// fetches the queued icons and says when a batch has arrived.
//
// Three locks guard the queue, the icons and the keys worked out for file
// names; each is held for one operation on its own data only, never two at
// once, and never while a key is worked out or an icon fetched. Icons are
// never evicted: a pointer from Lookup or Fetch stays valid for the cache's
// life, so painting may draw it without copying.
class ProgramIconCache {
public:
    explicit ProgramIconCache(IconCacheServices services);
    ProgramIconCache(const ProgramIconCache&) = delete;
    ProgramIconCache& operator=(const ProgramIconCache&) = delete;

    // For painting: the cached icon, or nullptr at once, the file then
    // being queued (once, however often it is asked for).
    const CachedIcon* Lookup(const std::wstring& fileName);
    // For the worker: works the key out, fetching the icon when it is not
    // cached yet; nullptr when the source has none or failed (reported).
    const CachedIcon* Fetch(const std::wstring& fileName);

    // The cache key of a file name: the one worked out before, otherwise a
    // guess for a caller that may not wait (when heuristics are on), or the
    // key worked out from the files, which is then remembered.
    std::wstring KeyFor(const std::wstring& fileName, bool mayWait);

    // Drops the pending requests; cached icons stay.
    void ResetQueue();
    size_t QueuedCount() const;
    // Waits up to timeout for a queued file; true when there is one.
    bool WaitForQueued(std::chrono::milliseconds timeout) const;
    // Fetches queued files, first in order first, until the queue is empty
    // or stop is set; then, unless stopped, tells iconsArrived once. How
    // many files were taken.
    size_t FetchQueued(const std::atomic<bool>& stop);
    // Wakes a WaitForQueued, for a worker asked to stop.
    void WakeWaiters() { queueChanged_.notify_all(); }

private:
    struct LessIgnoringCase {
        bool operator()(const std::wstring& a, const std::wstring& b) const;
    };
    struct Entry {
        std::unique_ptr<CachedIcon> icon; // nullptr: none to be had
    };
    // The cached entry for a key; found false when there is none.
    struct Found {
        bool found = false;
        const CachedIcon* icon = nullptr;
    };
    Found Cached(const std::wstring& key) const;
    std::unique_ptr<CachedIcon> MakeIcon(const std::wstring& key);

    IconCacheServices services_;
    Guarded<std::set<std::wstring, LessIgnoringCase>> queue_;
    mutable std::condition_variable queueChanged_;
    Guarded<std::map<std::wstring, Entry>> icons_;
    // File names exactly as callers passed them, and their keys: a name's
    // key is fixed the first time it is worked out.
    Guarded<std::unordered_map<std::wstring, std::wstring>> keys_;
};

} // namespace torvik
