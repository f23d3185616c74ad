#include "protocol/Encodings.h"

namespace torvik {
namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kB64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr size_t kB64LineWidth = 64;
} // namespace

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        c = static_cast<char>(c - 'a' + 'A');
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 0;
}

int DecodeHEXChr(char high, char low) {
    return 16 * HexDigit(high) + HexDigit(low);
}

std::string Bin2Hex(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out += kHexDigits[b >> 4];
        out += kHexDigits[b & 0x0F];
    }
    return out;
}

std::string Hex2Bin(const std::string& hex) {
    std::string out;
    out.reserve(hex.size() / 2);
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(DecodeHEXChr(hex[i], hex[i + 1]));
    }
    return out;
}

std::string B64Encode(const std::string& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                           static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += kB64Alphabet[(v >> 18) & 63];
        out += kB64Alphabet[(v >> 12) & 63];
        out += kB64Alphabet[(v >> 6) & 63];
        out += kB64Alphabet[v & 63];
    }
    const size_t rest = bytes.size() - i;
    if (rest == 1) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        out += kB64Alphabet[(v >> 18) & 63];
        out += kB64Alphabet[(v >> 12) & 63];
        out += "==";
    } else if (rest == 2) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                           static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += kB64Alphabet[(v >> 18) & 63];
        out += kB64Alphabet[(v >> 12) & 63];
        out += kB64Alphabet[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

std::string BreakUU(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / kB64LineWidth);
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if ((i + 1) % kB64LineWidth == 0) {
            out += '\r';
        }
    }
    return out;
}

} // namespace torvik
