#include "server/PackedVersion.h"

namespace torvik::server {
namespace {

constexpr int kBits = 16;
constexpr uint32_t kMaxNumber = 65535;
constexpr size_t kDigits = 5;
constexpr size_t kVersionXSize = 4 * kDigits + 3;

} // namespace

PackedVersion PackVersion(const std::array<uint32_t, 4>& version) {
    PackedVersion packed = 0;
    for (const uint32_t n : version) {
        packed = packed << kBits | (n & kMaxNumber);
    }
    return packed;
}

std::array<uint32_t, 4> UnpackVersion(PackedVersion packed) {
    std::array<uint32_t, 4> version{};
    for (size_t i = version.size(); i-- > 0;) {
        version[i] = static_cast<uint32_t>(packed & kMaxNumber);
        packed >>= kBits;
    }
    return version;
}

void AppendVersionX(std::string& out, PackedVersion packed) {
    // Written in place: this runs for every line of every reply.
    const size_t start = out.size();
    out.resize(start + kVersionXSize);
    char* end = out.data() + out.size();
    for (int number = 3; number >= 0; --number) {
        uint32_t n = static_cast<uint32_t>(packed & kMaxNumber);
        packed >>= kBits;
        for (size_t digit = 0; digit < kDigits; ++digit) {
            *--end = static_cast<char>('0' + n % 10);
            n /= 10;
        }
        if (number > 0) {
            *--end = '.';
        }
    }
}

std::string VersionXOf(PackedVersion packed) {
    std::string text;
    AppendVersionX(text, packed);
    return text;
}

std::string DottedVersionOf(PackedVersion packed) {
    std::string text;
    for (const uint32_t n : UnpackVersion(packed)) {
        text += (text.empty() ? "" : ".") + std::to_string(n);
    }
    return text;
}

bool ParseVersionX(std::string_view text, PackedVersion& packed) {
    if (text.size() != kVersionXSize) {
        return false;
    }
    packed = 0;
    for (size_t number = 0; number < 4; ++number) {
        const size_t at = number * (kDigits + 1);
        if (number > 0 && text[at - 1] != '.') {
            return false;
        }
        uint32_t n = 0;
        for (size_t digit = 0; digit < kDigits; ++digit) {
            const char c = text[at + digit];
            if (c < '0' || c > '9') {
                return false;
            }
            n = n * 10 + static_cast<uint32_t>(c - '0');
        }
        if (n > kMaxNumber) {
            return false;
        }
        packed = packed << kBits | n;
    }
    return true;
}

} // namespace torvik::server
