#pragma once
#include "platform/TextCompare.h"
#include "platform/TimeZone.h"

namespace torvik::win32 {

// CompareStringW with the user's default locale, ignoring case.
class Win32TextCompare : public TextCompare {
public:
    int CompareIgnoreCase(const std::wstring& a, const std::wstring& b) const override;
};

class Win32TimeZone : public TimeZone {
public:
    std::optional<uint64_t> ToLocalFileTime(uint64_t utcFileTime) const override;
};

} // namespace torvik::win32
