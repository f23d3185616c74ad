#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvik {

// A link label's caption is a small HTML-like mark-up. The layout below works
// out where each piece of text goes without any window, so that the window
// side only draws what it is given.
//
// Tags, letter case ignored: B I U S (and their closing tags), A HREF=target
// (a link; /A gives back the font from before it), ALIGN CENTER / RIGHT /
// anything else for left (from the next line on), FONT BGCOLOR=#BBGGRR or
// clNone and SIZE=n (n halves of the label's size) until /FONT, HR SIZE=n,
// IND n (go on n pixels from the left edge), BR. FONT COLOR is accepted and
// left alone: the label's own colours show that it is a link. Entities:
// &amp; &quot; &reg; &copy; &trade; &euro; &nbsp; &lt; &gt;.

// What the label shows for a caption: a caption that asks for the link look
// with "<x>" gets a link anchor and underline in front.
std::wstring LinkDisplayText(const std::wstring& caption);
// Whether the shown text makes the label a link (letter case significant).
bool IsLinkText(const std::wstring& displayText);

enum class MarkupAlign { Left, Center, Right };

// The font of a piece of text; size is in the caller's own unit (points).
struct MarkupStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int size = 8;
    bool operator==(const MarkupStyle&) const = default;
};

// Colours are 0x00BBGGRR, as the mark-up writes them after "#".
using MarkupColor = uint32_t;

// A piece of text at its place; y is the top of its line.
struct MarkupRun {
    std::wstring text;
    int x = 0;
    int y = 0;
    int width = 0;
    MarkupStyle style;
    bool link = false;
    std::wstring href;
    std::optional<MarkupColor> background; // none: transparent
};

// A horizontal line across the whole width, thickness pixels wide.
struct MarkupRule {
    int y = 0;
    int width = 0;
    int thickness = 1;
};

struct MarkupLayout {
    std::vector<MarkupRun> runs;
    std::vector<MarkupRule> rules;
    int width = 0;  // the widest line
    int height = 0; // one more than the height reached
};

// Measures text in a style: the window side asks the device context, the
// tests count characters.
class MarkupMeasurer {
public:
    virtual ~MarkupMeasurer() = default;
    virtual int Width(std::wstring_view text, const MarkupStyle& style) = 0;
    virtual int Height(const MarkupStyle& style) = 0;
};

struct MarkupFrame {
    int width = 0;             // room for right and centred lines and for rules
    MarkupStyle style;         // the label's own font
    bool disabledLook = false; // FONT SIZE keeps the label's size
};

// Lays out a shown text (LinkDisplayText) line by line.
MarkupLayout LayoutMarkup(const std::wstring& text, const MarkupFrame& frame,
                          MarkupMeasurer& measurer);

} // namespace torvik
