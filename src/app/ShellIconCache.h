#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/ShellLinks.h"
#include "platform/win32/UniqueHandle.h"
#include "ui/IconCacheWorker.h"
#include "ui/ProgramIconCache.h"

namespace torvik {

// A shell icon the cache owns.
class ShellIcon : public CachedIcon {
public:
    explicit ShellIcon(win32::UniqueIcon icon) : icon_(std::move(icon)) {}
    HICON Handle() const { return icon_.get(); }

private:
    win32::UniqueIcon icon_;
};

// Icons from the shell (SHGetFileInfoW by name), COM initialised once on
// each thread that asks.
class ShellIconSource : public IconSource {
public:
    std::unique_ptr<CachedIcon> SmallIcon(const std::wstring& key) override;
};

// The program list's icon cache with its worker thread, for the window's
// thread to draw from: IconFor never waits; a miss returns nullptr and the
// worker fetches the icon, then calls iconsArrived on its own thread once
// per batch (post the window a message there: see PostOnArrival). Icons
// stay valid while the object lives. Destroy it before whatever
// iconsArrived reaches; the destructor waits for the worker to finish the
// icon it is fetching.
class ShellIconCache {
public:
    ShellIconCache(const FileSystem& fs, const ShellLinks& links,
                   std::function<void()> iconsArrived,
                   std::function<void(const std::wstring&)> reportError);

    // The small icon of a file (the full path of an executable, a shortcut,
    // any file or folder), or nullptr until the worker has fetched it.
    HICON IconFor(const std::wstring& file);
    // Drops the files waiting to be fetched.
    void ResetQueue() { cache_.ResetQueue(); }

private:
    ShellIconSource source_;
    ProgramIconCache cache_;
    IconCacheWorker worker_; // last: runs only while everything above exists
};

// An iconsArrived that posts message to window (from any thread); the
// window repaints the list when it handles it.
std::function<void()> PostOnArrival(HWND window, UINT message);

} // namespace torvik
