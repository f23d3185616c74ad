#pragma once
#include <string>

#include "platform/OsVersion.h"

namespace torvik {

// n characters drawn uniformly from "A" to "Z".
std::wstring RandomString(size_t n);

// Whether an anonymous user id must be generated: empty or without "user_".
bool UserIdNeedsRenewal(const std::wstring& userId);
// "user_" + 20 random letters + "_" + the date as "yyyy-mm-dd hh:nn:ss.zzz".
std::wstring NewUserId(double now);

// "Windows NT 6.01.7601 Service Pack 1": platform name, major, minor (at
// least two digits), build (at least three) and service pack, trimmed.
std::wstring WindowsVersionText(const OsVersionInfo& info);
// The "header" field of every request: user id, version text, major,
// minor and build of the system at this moment, joined by "#".
std::wstring BuildServiceHeader(const std::wstring& userId, const OsVersion& os);

// The process-wide header text: set on the main thread when the main window
// is shown, read by every request afterwards.
void SetServiceHeader(const std::wstring& header);
std::wstring ServiceHeader();

} // namespace torvik
