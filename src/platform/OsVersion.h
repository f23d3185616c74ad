#pragma once
#include <cstdint>
#include <string>

namespace torvik {

// The operating system's version as GetVersionExW reports it.
struct OsVersionInfo {
    enum Platform : uint32_t { Win32s = 0, Windows9x = 1, WindowsNT = 2 };
    uint32_t platformId = WindowsNT;
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    std::wstring servicePack; // may be empty
};

class OsVersion {
public:
    virtual ~OsVersion() = default;
    virtual OsVersionInfo Query() const = 0;
};

} // namespace torvik
