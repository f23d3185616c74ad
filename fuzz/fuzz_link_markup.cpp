// A link label's caption is whatever the program was given: no mark-up may
// crash the layout or place text outside the area it measured.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/Utf8.h"
#include "ui/LinkMarkup.h"

namespace {

class CountingMeasurer : public torvik::MarkupMeasurer {
public:
    int Width(std::wstring_view text, const torvik::MarkupStyle& style) override {
        return static_cast<int>(text.size()) * (style.size / 2 + (style.bold ? 2 : 1));
    }
    int Height(const torvik::MarkupStyle& style) override { return style.size + 4; }
};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckLayout(const std::wstring& text, bool disabledLook) {
    CountingMeasurer measurer;
    torvik::MarkupFrame frame;
    frame.width = 300;
    frame.style.size = 9;
    frame.disabledLook = disabledLook;
    const torvik::MarkupLayout layout = torvik::LayoutMarkup(text, frame, measurer);
    Check(layout.height > 0 && layout.width >= 0);
    for (const auto& run : layout.runs) {
        Check(!run.text.empty() && run.text.size() <= text.size());
        Check(run.x >= 0 && run.y >= 0 && run.y < layout.height);
        Check(run.width == measurer.Width(run.text, run.style));
        Check(run.style.size >= 1);
    }
    for (const auto& rule : layout.rules) {
        Check(rule.y > 0 && rule.width == frame.width && rule.thickness >= 1);
    }
    // The room to the right moves text sideways only.
    frame.width = 0;
    Check(torvik::LayoutMarkup(text, frame, measurer).height == layout.height);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring caption =
        torvik::Utf8ToString(std::string(reinterpret_cast<const char*>(data), size));
    const std::wstring shown = torvik::LinkDisplayText(caption);
    Check(shown.size() >= caption.size());
    torvik::IsLinkText(shown);
    CheckLayout(shown, false);
    CheckLayout(shown, true);
    return 0;
}
