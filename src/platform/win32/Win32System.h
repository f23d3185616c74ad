#pragma once
#include "platform/AnsiCodePage.h"
#include "platform/OsVersion.h"

namespace torvik::win32 {

// GetVersionExW, as the header text of service requests reports it.
class Win32OsVersion : public OsVersion {
public:
    OsVersionInfo Query() const override;
};

// The system's default code page (CP_ACP).
class Win32AnsiCodePage : public AnsiCodePage {
public:
    std::string FromText(const std::wstring& text) const override;
    std::wstring ToText(const std::string& bytes) const override;
};

} // namespace torvik::win32
