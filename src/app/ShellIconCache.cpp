#include "app/ShellIconCache.h"

#include "platform/win32/Com.h"
#include "platform/win32/ShellIcons.h"

namespace torvik {

std::unique_ptr<CachedIcon> ShellIconSource::SmallIcon(const std::wstring& key) {
    // Once per thread, undone when the thread ends.
    thread_local const win32::ComApartment com;
    win32::UniqueIcon icon = win32::SmallShellIcon(key);
    if (!icon) {
        return nullptr;
    }
    return std::make_unique<ShellIcon>(std::move(icon));
}

ShellIconCache::ShellIconCache(const FileSystem& fs, const ShellLinks& links,
                               std::function<void()> iconsArrived,
                               std::function<void(const std::wstring&)> reportError)
    : cache_(IconCacheServices{fs, links, source_, std::move(iconsArrived), std::move(reportError),
                               true}),
      worker_(cache_) {}

HICON ShellIconCache::IconFor(const std::wstring& file) {
    // Every icon in this cache comes from source_, so each is a ShellIcon.
    const auto* icon = static_cast<const ShellIcon*>(cache_.Lookup(file));
    return icon == nullptr ? nullptr : icon->Handle();
}

std::function<void()> PostOnArrival(HWND window, UINT message) {
    return [window, message] { ::PostMessageW(window, message, 0, 0); };
}

} // namespace torvik
