#pragma once
#include <cstdint>
#include <string>

namespace torvik {

// The small stream cipher of local copies of service data. Both directions
// feed the cipher byte into the key, so Decrypt(Encrypt(x, k), k) == x. The
// output has the length of the input. It hides data from casual reading
// only; it is no protection against an attacker.
std::string Encrypt(const std::string& plain, uint32_t key);
std::string Decrypt(const std::string& cipher, uint32_t key);

// Bin2Hex(Encrypt(bytes, key)): pure ASCII of twice the length.
std::string EncryptX(const std::string& bytes, uint32_t key);
// The UTF-8 bytes of the text, encrypted, as hex digits.
std::wstring EncryptX(const std::wstring& text, uint32_t key);
// Decrypt(Hex2Bin(hex), key).
std::string DecryptX(const std::string& hex, uint32_t key);

} // namespace torvik
