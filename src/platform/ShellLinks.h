#pragma once
#include <string>

namespace torvik {

// What a shell shortcut (.lnk) stores.
struct ShellLinkData {
    std::wstring path; // the stored target
    std::wstring arguments;
    std::wstring workingDirectory;
};

// Reading and writing shell shortcuts, and the Windows Installer look-up of
// advertised shortcuts. Usable from any thread.
class ShellLinks {
public:
    virtual ~ShellLinks() = default;
    // The shortcut's target path (as for a UNC path first) and argument
    // text. Throws TorvikError when the file cannot be loaded as a shortcut.
    virtual ShellLinkData Read(const std::wstring& linkFile) const = 0;
    // The target of a shortcut advertised by Windows Installer: the
    // component's path when the product is installed locally, otherwise the
    // stored path (empty when the shortcut cannot be read). Throws
    // TorvikError when the Windows Installer functions are not available.
    virtual std::wstring ResolveMSILink(const std::wstring& linkFile) const = 0;
    // Writes a shortcut; false on failure.
    virtual bool Create(const std::wstring& linkFile, const ShellLinkData& data) const = 0;
};

} // namespace torvik
