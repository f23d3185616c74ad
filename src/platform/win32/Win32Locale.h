#pragma once
#include <windows.h>

#include <string>

#include "platform/TextCompare.h"
#include "platform/TimeZone.h"

namespace torvik::win32 {

// CompareStringW with the user's default locale, ignoring case.
class Win32TextCompare : public TextCompare {
public:
    int CompareIgnoreCase(const std::wstring& a, const std::wstring& b) const override;
    // LCMapStringW's sort key, documented to order texts as CompareStringW
    // does; empty when the system cannot make one.
    std::string SortKey(const std::wstring& text) const override;
};

class Win32TimeZone : public TimeZone {
public:
    std::optional<uint64_t> ToLocalFileTime(uint64_t utcFileTime) const override;
};

// A date and time (days since 1899-12-30) as the system's structure, and
// back; the structure's day of the week is left 0.
SYSTEMTIME SystemTimeOf(double date);
double DateTimeOf(const SYSTEMTIME& time);

// A local date and time (days since 1899-12-30) in the user's short date and
// long time formats.
std::wstring LocaleDateTimeText(double date);

} // namespace torvik::win32
