#pragma once
#include <string>

namespace torvik {

// The display form of a received URL: every "http://" (exact case) removed,
// blanks trimmed at both ends, one final "/" removed. Other schemes stay.
std::wstring TrimUrl(const std::wstring& url);

} // namespace torvik
