#include "platform/win32/Win32Locale.h"

#include <windows.h>

#include "common/DateText.h"

namespace torvik::win32 {

int Win32TextCompare::CompareIgnoreCase(const std::wstring& a, const std::wstring& b) const {
    switch (::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                             static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()))) {
    case CSTR_LESS_THAN:
        return -1;
    case CSTR_EQUAL:
        return 0;
    default:
        return 1;
    }
}

std::string Win32TextCompare::SortKey(const std::wstring& text) const {
    constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = static_cast<int>(text.size());
    // Most keys fit a small buffer: one call instead of asking the size
    // first, which halves the cost of a sort's keys. With LCMAP_SORTKEY the
    // destination is bytes, passed as a wide pointer.
    alignas(wchar_t) char small[512];
    int written = ::LCMapStringW(LOCALE_USER_DEFAULT, kFlags, text.c_str(), length,
                                 reinterpret_cast<LPWSTR>(small), sizeof small);
    if (written > 0) {
        return std::string(small, static_cast<size_t>(written));
    }
    const int bytes = ::LCMapStringW(LOCALE_USER_DEFAULT, kFlags, text.c_str(), length, nullptr, 0);
    if (bytes <= 0) {
        return {};
    }
    std::string key(static_cast<size_t>(bytes), '\0');
    written = ::LCMapStringW(LOCALE_USER_DEFAULT, kFlags, text.c_str(), length,
                             reinterpret_cast<LPWSTR>(key.data()), bytes);
    key.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return key;
}

std::optional<uint64_t> Win32TimeZone::ToLocalFileTime(uint64_t utcFileTime) const {
    FILETIME utc{static_cast<DWORD>(utcFileTime), static_cast<DWORD>(utcFileTime >> 32)};
    FILETIME local{};
    if (!::FileTimeToLocalFileTime(&utc, &local)) {
        return std::nullopt;
    }
    return (static_cast<uint64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
}

SYSTEMTIME SystemTimeOf(double date) {
    const DateTimeParts parts = DecodeDateTime(date);
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(parts.year);
    time.wMonth = static_cast<WORD>(parts.month);
    time.wDay = static_cast<WORD>(parts.day);
    time.wHour = static_cast<WORD>(parts.hour);
    time.wMinute = static_cast<WORD>(parts.minute);
    time.wSecond = static_cast<WORD>(parts.second);
    time.wMilliseconds = static_cast<WORD>(parts.millisecond);
    return time;
}

double DateTimeOf(const SYSTEMTIME& t) {
    return EncodeDateTime(
        {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
}

std::wstring LocaleDateTimeText(double date) {
    const SYSTEMTIME time = SystemTimeOf(date);
    wchar_t day[128] = {}, clock[128] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, day, 128);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, 128);
    return std::wstring(day) + L" " + clock;
}

} // namespace torvik::win32
