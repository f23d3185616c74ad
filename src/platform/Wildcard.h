#pragma once
#include <string_view>

namespace torvik {

// Windows-style file-name wildcard match: "*" any run, "?" one character,
// ASCII letters compared without case. "*.*" matches every name, also one
// without a dot, as FindFirstFileW does.
bool WildcardMatch(std::wstring_view mask, std::wstring_view name);

} // namespace torvik
