#include "protocol/Cipher.h"

#include "common/Utf8.h"
#include "protocol/Encodings.h"

namespace torvik {
namespace {
uint32_t NextKey(uint32_t key, unsigned char cipherByte) {
    // Unsigned arithmetic wraps modulo 2^32, a multiple of 65536, so the
    // result equals the exact value modulo 65536.
    return ((key + cipherByte) * 52u + 22u) % 65536u;
}
} // namespace

std::string Encrypt(const std::string& plain, uint32_t key) {
    std::string out(plain.size(), '\0');
    for (size_t i = 0; i < plain.size(); ++i) {
        const auto c =
            static_cast<unsigned char>(static_cast<unsigned char>(plain[i]) ^ ((key >> 8) & 0xFF));
        out[i] = static_cast<char>(c);
        key = NextKey(key, c);
    }
    return out;
}

std::string Decrypt(const std::string& cipher, uint32_t key) {
    std::string out(cipher.size(), '\0');
    for (size_t i = 0; i < cipher.size(); ++i) {
        const auto c = static_cast<unsigned char>(cipher[i]);
        out[i] = static_cast<char>(c ^ ((key >> 8) & 0xFF));
        key = NextKey(key, c);
    }
    return out;
}

std::string EncryptX(const std::string& bytes, uint32_t key) {
    return Bin2Hex(Encrypt(bytes, key));
}

std::wstring EncryptX(const std::wstring& text, uint32_t key) {
    const std::string hex = EncryptX(StringToUtf8(text), key);
    return std::wstring(hex.begin(), hex.end());
}

std::string DecryptX(const std::string& hex, uint32_t key) {
    return Decrypt(Hex2Bin(hex), key);
}

} // namespace torvik
