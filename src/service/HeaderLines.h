#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace torvik {

// Header lists hold one header per line: name, colon, blank, value.

// Index of the first line whose lower-cased form starts with the lower-cased
// name (trimmed, a trailing ":" removed) + ": "; -1 when there is none.
int HeaderLineIdx(const std::vector<std::wstring>& lines, const std::wstring& name);
// The found line after its first ": "; empty when there is none.
std::wstring HeaderLineValue(const std::vector<std::wstring>& lines, const std::wstring& name);
// A header as a server sends it: the first line named name (letter case
// ignored) followed by ":", with or without blanks after the colon; the value
// trimmed. Empty when there is none.
std::wstring ReceivedHeaderValue(const std::vector<std::wstring>& lines, const std::wstring& name);
// A header value that must be a whole decimal number that fits 32 bits;
// anything else (blank, sign, letters, overflow) gives none.
std::optional<uint32_t> ParseHeaderNumber(const std::wstring& value);

// Replaces any header of that name by name + ": " + value at the end.
void SetHeaderLine(std::vector<std::wstring>& lines, const std::wstring& name,
                   const std::wstring& value);
void DeleteHeaderLine(std::vector<std::wstring>& lines, const std::wstring& name);

} // namespace torvik
