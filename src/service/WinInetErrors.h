#pragma once
#include <cstdint>
#include <string>

namespace torvik {

// The short text of a WinInet error code, e.g. "(Cannot connect)" for 12029;
// "(Unknown WININET error # N)" for codes without one.
std::wstring WinInetErrorText(uint32_t code);

} // namespace torvik
