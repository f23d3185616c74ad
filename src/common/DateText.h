#pragma once
#include <cstdint>
#include <string>

namespace torvik {

// Dates are days since 1899-12-30 (local time); the fraction is the time of
// day. 0 means no date.
struct DateTimeParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Throws TorvikError for a date or time that does not exist.
double EncodeDateTime(const DateTimeParts& parts);
DateTimeParts DecodeDateTime(double date);

// "yyyy-mm-dd hh:nn:ss.zzz" and "yyyy-mm-dd hh:nn:ss", whatever the locale.
std::wstring DateTimeToStrX(double date);
std::wstring DateTimeToStrX_noms(double date);
// Reads the texts above back (a "T" may stand for the blank; the time and the
// milliseconds may be missing). Throws TorvikError on text it cannot read.
double StrToDateTimeX(const std::wstring& text);

} // namespace torvik
