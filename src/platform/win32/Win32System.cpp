#include "platform/win32/Win32System.h"

#include <windows.h>

namespace torvik::win32 {

OsVersionInfo Win32OsVersion::Query() const {
    OSVERSIONINFOW v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = ::GetVersionExW(&v);
#pragma GCC diagnostic pop
    if (!ok) {
        return {};
    }
    return {v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber,
            std::wstring(v.szCSDVersion)};
}

std::string Win32AnsiCodePage::FromText(const std::wstring& text) const {
    if (text.empty()) {
        return {};
    }
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

std::wstring Win32AnsiCodePage::ToText(const std::string& bytes) const {
    if (bytes.empty()) {
        return {};
    }
    const int n =
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

} // namespace torvik::win32
