#pragma once
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace torvik {

// The last reply of the version check, kept between runs in
// "updater_lastreply.ini": one line of upper-case hex digits, the reply's
// lines (each followed by CR LF) as UTF-8, enciphered under the key 38461.
// The name ends in .ini, but the content has no sections.
inline constexpr uint32_t kLastReplyKey = 38461;
inline constexpr double kLastReplyMaxAgeDays = 10;

// Replaces the file atomically (a crash leaves the old reply or the new
// one, never half of one); an empty reply leaves an empty file. Throws
// TorvikError when it cannot be written.
void SaveLastReply(FileSystem& fs, const std::wstring& fileName,
                   const std::vector<std::wstring>& lines);

// The stored reply, or no lines when the file is missing (modified 0), more
// than ten days older than now, or unreadable. Dates are days since
// 1899-12-30.
std::vector<std::wstring> LoadLastReply(const FileSystem& fs, const std::wstring& fileName,
                                        double modified, double now);

} // namespace torvik
