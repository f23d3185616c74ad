#pragma once
#include <string_view>

namespace torvik {

// The scanner's file masks: "*" matches any run of characters, "?" any one
// character, everything else itself, ASCII letters without regard to case;
// the mask must cover the whole name. No legacy rule of the platform's
// listing applies ("*.*" needs a dot).
bool FileMaskMatch(std::wstring_view mask, std::wstring_view name);

} // namespace torvik
