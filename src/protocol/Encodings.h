#pragma once
#include <string>

namespace torvik {

// Hexadecimal text. Digits outside 0-9, A-F and a-f read as 0; nothing throws.
int HexDigit(char c);
int DecodeHEXChr(char high, char low);
// Two upper-case digits per byte, no separators.
std::string Bin2Hex(const std::string& bytes);
// One byte per pair of characters; an odd last character is ignored.
std::string Hex2Bin(const std::string& hex);

// Standard Base64 (RFC 4648) with "=" padding and no line breaks.
std::string B64Encode(const std::string& bytes);
// Appends a carriage return (a single 0x0D) after every 64th character, so
// an input of exactly 64 characters ends with one.
std::string BreakUU(const std::string& text);

} // namespace torvik
