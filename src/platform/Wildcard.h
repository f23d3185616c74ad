#pragma once
#include <string_view>

namespace torvik {

// The mask rule of FindFirstFileW, for the listings of the native and fake
// file systems: the scanner's rule (FileMaskMatch), plus the legacy ones of
// the platform: "*.*" matches every name, also one without a dot, and a
// final "." matches a name without an extension.
bool ListingMaskMatch(std::wstring_view mask, std::wstring_view name);

} // namespace torvik
