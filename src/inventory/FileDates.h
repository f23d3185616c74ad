#pragma once
#include <cstdint>
#include <string>

#include "platform/FileSystem.h"
#include "platform/TimeZone.h"

namespace torvik {

// Size in bytes from the file's directory entry; 0 when there is none, for a
// folder, and for a name with wildcards (it would name some other file).
int64_t FileSize(const FileSystem& fs, const std::wstring& fileName);

// The file's last-write time in local time; 0 when the file does not exist
// (a folder is no file).
double FileDateTime(const FileSystem& fs, const TimeZone& zone, const std::wstring& fileName);
// The last-write time of the file's directory entry in local time; 0 when
// it cannot be read.
double FileModifiedDatetime(const FileSystem& fs, const TimeZone& zone,
                            const std::wstring& fileName);

// A FILETIME (UTC) as a local date-time value; 0 when the conversion fails
// or the year is before 1800 or after 3000.
double FileTimeToDateTime(const TimeZone& zone, uint64_t fileTime);

// |a - b| in seconds, to the millisecond, in single precision.
float SecondDiffAbs(double a, double b);

// Whether a and b are the same file time: less than 2 s apart, or between
// 3598 and 3602 s apart (a daylight-saving change in between).
bool SameDates_daylight_1s(double a, double b);

} // namespace torvik
