#include "ui/ProgramIconCache.h"

#include <algorithm>
#include <optional>

#include "common/Error.h"
#include "common/Text.h"
#include "ui/IconKey.h"

namespace torvik {

bool ProgramIconCache::LessIgnoringCase::operator()(const std::wstring& a,
                                                    const std::wstring& b) const {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
            const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c + 32 : c; };
            return lower(x) < lower(y);
        });
}

ProgramIconCache::ProgramIconCache(IconCacheServices services) : services_(std::move(services)) {}

std::wstring ProgramIconCache::KeyFor(const std::wstring& fileName, bool mayWait) {
    std::optional<std::wstring> known = keys_.With([&](const auto& keys) {
        const auto it = keys.find(fileName);
        return it == keys.end() ? std::nullopt : std::optional<std::wstring>(it->second);
    });
    if (known) {
        return *known;
    }
    if (services_.enableHeuristics && !mayWait) {
        return GuessedIconKey(fileName);
    }
    std::wstring key = IconKeyOfFile(fileName, services_.fs, services_.links);
    // Another thread may have worked it out meanwhile: the first one stays.
    return keys_.With([&](auto& keys) { return keys.try_emplace(fileName, key).first->second; });
}

ProgramIconCache::Found ProgramIconCache::Cached(const std::wstring& key) const {
    // The entry's icon lives as long as the cache: entries are never erased
    // and an icon is never replaced, so the pointer outlives the lock.
    return icons_.With([&](const auto& icons) {
        const auto it = icons.find(key);
        return it == icons.end() ? Found{} : Found{true, it->second.icon.get()};
    });
}

const CachedIcon* ProgramIconCache::Lookup(const std::wstring& fileName) {
    const Found cached = Cached(KeyFor(fileName, false));
    if (cached.found) {
        return cached.icon;
    }
    const bool added = queue_.With([&](auto& queue) { return queue.insert(fileName).second; });
    if (added) {
        queueChanged_.notify_all();
    }
    return nullptr;
}

std::unique_ptr<CachedIcon> ProgramIconCache::MakeIcon(const std::wstring& key) {
    try {
        return services_.source.SmallIcon(key);
    } catch (const TorvikError& e) {
        if (services_.reportError) {
            services_.reportError(L"2: " + e.Message());
        }
        return nullptr;
    }
}

const CachedIcon* ProgramIconCache::Fetch(const std::wstring& fileName) {
    const std::wstring key = LowerCaseAscii(KeyFor(fileName, true));
    const Found cached = Cached(key);
    if (cached.found) {
        return cached.icon;
    }
    // Fetched outside every lock; a type that failed is kept as having no
    // icon, so that repaints do not ask (and report) again and again.
    std::unique_ptr<CachedIcon> icon = MakeIcon(key);
    return icons_.With([&](auto& icons) {
        // Of two fetches of one key, the first to arrive stays.
        return icons.try_emplace(key, Entry{std::move(icon)}).first->second.icon.get();
    });
}

void ProgramIconCache::ResetQueue() {
    queue_.With([](auto& queue) { queue.clear(); });
}

size_t ProgramIconCache::QueuedCount() const {
    return queue_.With([](const auto& queue) { return queue.size(); });
}

bool ProgramIconCache::WaitForQueued(std::chrono::milliseconds timeout) const {
    return queue_.WaitFor(queueChanged_, timeout, [](const auto& queue) { return !queue.empty(); });
}

size_t ProgramIconCache::FetchQueued(const std::atomic<bool>& stop) {
    size_t taken = 0;
    while (!stop.load()) {
        std::optional<std::wstring> next = queue_.With([](auto& queue) {
            if (queue.empty()) {
                return std::optional<std::wstring>();
            }
            return std::optional<std::wstring>(queue.extract(queue.begin()).value());
        });
        if (!next) {
            break;
        }
        ++taken;
        try {
            Fetch(*next);
        } catch (...) {
            if (services_.reportError) {
                services_.reportError(L"1: " + CurrentExceptionText());
            }
        }
    }
    if (taken > 0 && !stop.load() && services_.iconsArrived) {
        services_.iconsArrived();
    }
    return taken;
}

} // namespace torvik
