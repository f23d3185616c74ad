// Reply records are split at "|" and ">>>", CSV lines quote-aware. Without
// trimming, joining the fields with the separator must give the text back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/Utf8.h"
#include "protocol/Split.h"

namespace {
void CheckSplit(const std::wstring& text, const std::wstring& separator) {
    const auto fields = torvik::_x_Split(text, separator, false);
    std::wstring joined;
    for (size_t i = 0; i < fields.size(); ++i) {
        joined += (i > 0 ? separator : L"") + fields[i];
    }
    if (joined != text) {
        std::abort();
    }
    torvik::_x_Split(text, separator, true);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text =
        torvik::Utf8ToString(std::string(reinterpret_cast<const char*>(data), size));
    CheckSplit(text, L"|");
    CheckSplit(text, L">>>");
    for (const wchar_t separator : {L';', L',', L'\0'}) {
        for (const auto& field : torvik::_x_SplitCsvDataLineX(text, separator)) {
            if (field.empty()) {
                std::abort();
            }
        }
    }
    torvik::_x_StringReplace_IC(text, L"Ab", L"x");
    return 0;
}
