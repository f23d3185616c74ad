#include "inventory/FileDates.h"

#include <cmath>

#include "common/DateText.h"

namespace torvik {
namespace {

constexpr uint64_t kTicksPerMs = 10000;
constexpr uint64_t kMsPerDay = 86400000;
// 1601-01-01 (the FILETIME epoch) is day -109205 of the date-time values.
constexpr int64_t kFileTimeEpochDay = -109205;
// FileTimeToSystemTime refuses times with the top bit set.
constexpr uint64_t kLargestFileTime = 0x7FFFFFFFFFFFFFFFULL;

bool HasWildcards(const std::wstring& name) {
    return name.find_first_of(L"*?") != std::wstring::npos;
}

} // namespace

int64_t FileSize(const FileSystem& fs, const std::wstring& fileName) {
    if (HasWildcards(fileName)) {
        return 0;
    }
    const auto entry = fs.FindEntry(fileName);
    if (!entry || entry->IsDirectory()) {
        return 0;
    }
    return static_cast<int64_t>(entry->size);
}

double FileDateTime(const FileSystem& fs, const TimeZone& zone, const std::wstring& fileName) {
    if (HasWildcards(fileName) || !fs.FileExists(fileName)) {
        return 0;
    }
    return FileModifiedDatetime(fs, zone, fileName);
}

double FileModifiedDatetime(const FileSystem& fs, const TimeZone& zone,
                            const std::wstring& fileName) {
    if (HasWildcards(fileName)) {
        return 0;
    }
    const auto entry = fs.FindEntry(fileName);
    return entry ? FileTimeToDateTime(zone, entry->lastWriteTime) : 0;
}

double FileTimeToDateTime(const TimeZone& zone, uint64_t fileTime) {
    const auto local = zone.ToLocalFileTime(fileTime);
    if (!local || *local > kLargestFileTime) {
        return 0;
    }
    // Milliseconds, as a SYSTEMTIME holds them.
    const uint64_t ms = *local / kTicksPerMs;
    const int64_t day = static_cast<int64_t>(ms / kMsPerDay) + kFileTimeEpochDay;
    DateTimeParts parts = DecodeDateTime(static_cast<double>(day));
    if (parts.year < 1800 || parts.year > 3000) {
        return 0;
    }
    const uint64_t msOfDay = ms % kMsPerDay;
    parts.hour = static_cast<int>(msOfDay / 3600000);
    parts.minute = static_cast<int>(msOfDay / 60000 % 60);
    parts.second = static_cast<int>(msOfDay / 1000 % 60);
    parts.millisecond = static_cast<int>(msOfDay % 1000);
    return EncodeDateTime(parts);
}

float SecondDiffAbs(double a, double b) {
    // Date-time values hold milliseconds; rounding to them keeps the last
    // bits of the day fraction from turning 2 s into 1.9999996 s.
    return static_cast<float>(std::round(std::fabs(a - b) * 86400000.0) / 1000.0);
}

bool SameDates_daylight_1s(double a, double b) {
    const float d = SecondDiffAbs(a, b);
    return d < 2.0f || (d > 3598.0f && d < 3602.0f);
}

} // namespace torvik
