#include "common/DateText.h"

#include <cmath>
#include <cstdio>

#include "common/Error.h"

namespace torvik {
namespace {

constexpr int64_t kMsPerDay = 86400000;

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

const int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);

int DaysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return (m == 2 && leap) ? 29 : kDays[m - 1];
}

std::wstring Format(double date, bool withMs) {
    const DateTimeParts p = DecodeDateTime(date);
    wchar_t buf[64];
    if (withMs) {
        std::swprintf(buf, 64, L"%04d-%02d-%02d %02d:%02d:%02d.%03d", p.year, p.month, p.day,
                      p.hour, p.minute, p.second, p.millisecond);
    } else {
        std::swprintf(buf, 64, L"%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                      p.minute, p.second);
    }
    return buf;
}

// Reads an unsigned decimal number of 1 to maxDigits digits at text[pos].
bool ReadNumber(const std::wstring& text, size_t& pos, size_t maxDigits, int& value) {
    const size_t start = pos;
    value = 0;
    while (pos < text.size() && pos - start < maxDigits && text[pos] >= L'0' && text[pos] <= L'9') {
        value = value * 10 + (text[pos] - L'0');
        ++pos;
    }
    return pos > start;
}

bool Expect(const std::wstring& text, size_t& pos, wchar_t c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

} // namespace

double EncodeDateTime(const DateTimeParts& p) {
    if (p.year < 1 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1 ||
        p.day > DaysInMonth(p.year, p.month) || p.hour < 0 || p.hour > 23 || p.minute < 0 ||
        p.minute > 59 || p.second < 0 || p.second > 59 || p.millisecond < 0 ||
        p.millisecond > 999) {
        throw TorvikError(L"Invalid date or time");
    }
    const double days = static_cast<double>(DaysFromCivil(p.year, p.month, p.day) - kEpochOffset);
    const double time =
        ((p.hour * 60 + p.minute) * 60 + p.second) / 86400.0 + p.millisecond / 86400000.0;
    // Before the epoch the time of day still counts forwards from midnight.
    return days >= 0 ? days + time : days - time;
}

DateTimeParts DecodeDateTime(double date) {
    int64_t ms = std::llround(std::fabs(date) * kMsPerDay);
    int64_t days = ms / kMsPerDay;
    int64_t msOfDay = ms % kMsPerDay;
    if (date < 0) {
        days = -days;
    }
    DateTimeParts p;
    CivilFromDays(days + kEpochOffset, p.year, p.month, p.day);
    p.hour = static_cast<int>(msOfDay / 3600000);
    p.minute = static_cast<int>(msOfDay / 60000 % 60);
    p.second = static_cast<int>(msOfDay / 1000 % 60);
    p.millisecond = static_cast<int>(msOfDay % 1000);
    return p;
}

std::wstring DateTimeToStrX(double date) {
    return Format(date, true);
}
std::wstring DateTimeToStrX_noms(double date) {
    return Format(date, false);
}

double StrToDateTimeX(const std::wstring& original) {
    std::wstring text = original;
    for (auto& c : text) {
        if (c == L'T') {
            c = L' ';
        }
    }
    const TorvikError invalid(L"'" + original + L"' is not a valid date and time");
    DateTimeParts p;
    size_t pos = 0;
    while (pos < text.size() && text[pos] == L' ') {
        ++pos;
    }
    if (!ReadNumber(text, pos, 4, p.year) || !Expect(text, pos, L'-') ||
        !ReadNumber(text, pos, 2, p.month) || !Expect(text, pos, L'-') ||
        !ReadNumber(text, pos, 2, p.day)) {
        throw invalid;
    }
    if (Expect(text, pos, L' ')) {
        while (pos < text.size() && text[pos] == L' ') {
            ++pos;
        }
        if (!ReadNumber(text, pos, 2, p.hour) || !Expect(text, pos, L':') ||
            !ReadNumber(text, pos, 2, p.minute)) {
            throw invalid;
        }
        if (Expect(text, pos, L':') && !ReadNumber(text, pos, 2, p.second)) {
            throw invalid;
        }
        if (Expect(text, pos, L'.')) {
            const size_t start = pos;
            if (!ReadNumber(text, pos, 3, p.millisecond)) {
                throw invalid;
            }
            for (size_t digits = pos - start; digits < 3; ++digits) {
                p.millisecond *= 10;
            }
        }
    }
    while (pos < text.size() && text[pos] == L' ') {
        ++pos;
    }
    if (pos != text.size()) {
        throw invalid;
    }
    try {
        return EncodeDateTime(p);
    } catch (const TorvikError&) {
        throw invalid;
    }
}

} // namespace torvik
