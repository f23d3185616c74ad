// Version texts received from the service ("00001.00002.00003.00004") and
// the display form of received URLs. VersionX_ToStr may only fail with
// TorvikError, and what it accepts must survive the way back through the
// record's numbers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/Error.h"
#include "common/Utf8.h"
#include "inventory/UrlText.h"
#include "inventory/VersionText.h"

namespace {
void CheckVersionX(const std::wstring& text) {
    std::wstring shown;
    try {
        shown = torvik::VersionX_ToStr(text);
    } catch (const torvik::TorvikError&) {
        return;
    }
    int32_t major = 0, minor = 0, release = 0, build = 0;
    torvik::SplitVersion123B(shown, major, minor, release, build);
    if (major < 0 || minor < 0 || release < 0 || build < 0) {
        return; // no version the program writes is negative
    }
    if (torvik::VersionX_ToStr(torvik::MakeVersionX(major, minor, release, build)) != shown) {
        std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text =
        torvik::Utf8ToString(std::string(reinterpret_cast<const char*>(data), size));
    CheckVersionX(text);
    int32_t a = 0, b = 0, c = 0, d = 0;
    torvik::SplitVersion123B(text, a, b, c, d);
    const std::wstring url = torvik::TrimUrl(text);
    if (url.find(L"http://") != std::wstring::npos && text.find(L"http://") == std::wstring::npos) {
        std::abort();
    }
    return 0;
}
