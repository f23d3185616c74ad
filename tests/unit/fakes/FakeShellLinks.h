#pragma once
#include <map>
#include <mutex>
#include <string>

#include "common/Error.h"
#include "common/Text.h"
#include "platform/ShellLinks.h"

namespace torvik::testing {

// Shortcuts held in memory, keyed by the shortcut's path in any case. A
// shortcut not in the map cannot be loaded (a corrupt or missing file).
class FakeShellLinks : public ShellLinks {
public:
    std::map<std::wstring, ShellLinkData> links;     // lower-cased link path
    std::map<std::wstring, std::wstring> msiTargets; // lower-cased link path
    mutable std::map<std::wstring, int> reads;

    void Add(const std::wstring& link, const std::wstring& target,
             const std::wstring& arguments = L"") {
        links[LowerCaseAscii(link)] = ShellLinkData{target, arguments, L""};
    }
    ShellLinkData Read(const std::wstring& linkFile) const override {
        std::lock_guard lock(mutex_);
        ++reads[LowerCaseAscii(linkFile)];
        const auto it = links.find(LowerCaseAscii(linkFile));
        if (it == links.end()) {
            throw TorvikError(L"Cannot load the shortcut " + linkFile);
        }
        return it->second;
    }
    std::wstring ResolveMSILink(const std::wstring& linkFile) const override {
        const auto it = msiTargets.find(LowerCaseAscii(linkFile));
        return it != msiTargets.end() ? it->second : Read(linkFile).path;
    }
    bool Create(const std::wstring& linkFile, const ShellLinkData& data) const override {
        std::lock_guard lock(mutex_);
        const_cast<FakeShellLinks*>(this)->links[LowerCaseAscii(linkFile)] = data;
        return true;
    }

private:
    mutable std::mutex mutex_;
};

} // namespace torvik::testing
