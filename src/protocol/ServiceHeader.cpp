#include "protocol/ServiceHeader.h"

#include <cstdio>
#include <mutex>
#include <random>

#include "common/DateText.h"
#include "common/Text.h"

namespace torvik {
namespace {
std::mutex headerMutex;
std::wstring& HeaderText() {
    static std::wstring text;
    return text;
}

std::wstring PlatformName(const OsVersionInfo& info) {
    switch (info.platformId) {
    case OsVersionInfo::WindowsNT:
        return L"NT";
    case OsVersionInfo::Windows9x:
        return (info.major > 4 || (info.major == 4 && info.minor > 9)) ? L"98" : L"95";
    case OsVersionInfo::Win32s:
        return L"32s";
    default:
        return L"";
    }
}
} // namespace

std::wstring RandomString(size_t n) {
    // One generator per thread: callers on different threads must not share
    // an unsynchronised state, and ids made in the same clock tick must
    // still differ.
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> letter(0, 25);
    std::wstring out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        out += static_cast<wchar_t>(L'A' + letter(generator));
    }
    return out;
}

bool UserIdNeedsRenewal(const std::wstring& userId) {
    return userId.find(L"user_") == std::wstring::npos;
}

std::wstring NewUserId(double now) {
    return L"user_" + RandomString(20) + L"_" + DateTimeToStrX(now);
}

std::wstring WindowsVersionText(const OsVersionInfo& info) {
    const uint32_t build =
        info.platformId == OsVersionInfo::Windows9x ? (info.build & 0xFFFF) : info.build;
    wchar_t numbers[64];
    std::swprintf(numbers, std::size(numbers), L"%u.%.2u.%.3u", info.major, info.minor, build);
    return Trim(L"Windows " + PlatformName(info) + L" " + numbers + L" " + info.servicePack);
}

std::wstring BuildServiceHeader(const std::wstring& userId, const OsVersion& os) {
    const OsVersionInfo info = os.Query();
    return userId + L"#" + WindowsVersionText(info) + L"#" + std::to_wstring(info.major) + L"#" +
           std::to_wstring(info.minor) + L"#" + std::to_wstring(info.build);
}

void SetServiceHeader(const std::wstring& header) {
    std::lock_guard lock(headerMutex);
    HeaderText() = header;
}

std::wstring ServiceHeader() {
    std::lock_guard lock(headerMutex);
    return HeaderText();
}

} // namespace torvik
