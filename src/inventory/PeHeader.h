#pragma once
#include <cstdint>
#include <string>

#include "platform/FileSystem.h"

namespace torvik {

// The link time stamp (TimeDateStamp) of the file's PE header, found
// through the header offset at 0x3C. Nothing else is checked: a field that
// lies beyond the end of the file reads as 0. Throws TorvikError when the
// file cannot be opened.
uint32_t GetExePeTimeStamp(const FileSystem& fs, const std::wstring& fileName);

// The time stamp as a date-time value: its UTC time shifted by a fixed three
// hours, whatever the computer's time zone. Throws as GetExePeTimeStamp.
double GetExePeDateTime(const FileSystem& fs, const std::wstring& fileName);
double PeTimeStampToDateTime(uint32_t stamp);

} // namespace torvik
