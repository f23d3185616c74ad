#include "ui/LinkMarkup.h"

#include <algorithm>
#include <utility>

#include "common/Text.h"
#include "protocol/Split.h"

namespace torvik {
namespace {

// Bounds that keep a wild number in a caption from overflowing the
// arithmetic or asking for a font no screen can show.
constexpr int kMaxFontSize = 400;
constexpr int kMaxIndent = 32767;
constexpr int kMaxRuleThickness = 1000;

std::vector<std::wstring> PreparedLines(std::wstring text) {
    static const std::pair<const wchar_t*, const wchar_t*> entities[] = {
        {L"&amp;", L"&"},       {L"&quot;", L"\""},      {L"&reg;", L"\u00AE"},
        {L"&copy;", L"\u00A9"}, {L"&trade;", L"\u2122"}, {L"&euro;", L"\u20AC"},
        {L"&nbsp;", L" "},
    };
    for (const auto& [entity, character] : entities) {
        text = _x_StringReplace_IC(text, entity, character);
    }
    text = ReplaceAll(std::move(text), L"\r\n", L"");
    text = _x_StringReplace_IC(text, L"<BR>", L"\n");
    text = _x_StringReplace_IC(text, L"<HR>", L"<HR>\n");
    return TextToLines(text);
}

// "<" and ">" written in the text itself; only now, so that they never start
// a tag.
std::wstring PlainText(const std::wstring& piece) {
    return _x_StringReplace_IC(_x_StringReplace_IC(piece, L"&lt;", L"<"), L"&gt;", L">");
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// The value of NAME=VALUE in a tag (quoted with " or ', or up to a blank);
// an empty value for a bare NAME; none when the tag has no such attribute.
std::optional<std::wstring> AttributeValue(const std::wstring& tag, std::wstring_view name) {
    size_t i = 0;
    while (i < tag.size() && !IsBlank(tag[i])) {
        ++i; // the tag's own name
    }
    while (i < tag.size()) {
        while (i < tag.size() && IsBlank(tag[i])) {
            ++i;
        }
        const size_t nameStart = i;
        while (i < tag.size() && !IsBlank(tag[i]) && tag[i] != L'=') {
            ++i;
        }
        const std::wstring_view attribute(tag.data() + nameStart, i - nameStart);
        while (i < tag.size() && IsBlank(tag[i])) {
            ++i;
        }
        std::wstring value;
        if (i < tag.size() && tag[i] == L'=') {
            ++i;
            while (i < tag.size() && IsBlank(tag[i])) {
                ++i;
            }
            if (i < tag.size() && (tag[i] == L'"' || tag[i] == L'\'')) {
                const wchar_t quote = tag[i++];
                const size_t end = std::min(tag.find(quote, i), tag.size());
                value = tag.substr(i, end - i);
                i = std::min(end + 1, tag.size());
            } else {
                const size_t start = i;
                while (i < tag.size() && !IsBlank(tag[i])) {
                    ++i;
                }
                value = tag.substr(start, i - start);
            }
        }
        if (!attribute.empty() && SameTextAscii(attribute, name)) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<int> NumberAttribute(const std::wstring& tag, std::wstring_view name) {
    const auto value = AttributeValue(tag, name);
    return value ? ParseDecimal(*value) : std::nullopt;
}

// "#BBGGRR" in hexadecimal or a decimal number; the top byte is dropped, as
// it is no colour.
std::optional<MarkupColor> ParseColor(const std::wstring& value) {
    if (StartsWith(value, L"#")) {
        const std::wstring digits = value.substr(1);
        if (digits.empty() || digits.size() > 8) {
            return std::nullopt;
        }
        MarkupColor color = 0;
        for (const wchar_t c : digits) {
            const int digit = c >= L'0' && c <= L'9'   ? c - L'0'
                              : c >= L'a' && c <= L'f' ? c - L'a' + 10
                              : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                                       : -1;
            if (digit < 0) {
                return std::nullopt;
            }
            color = color << 4 | static_cast<MarkupColor>(digit);
        }
        return color & 0xFFFFFF;
    }
    const auto number = ParseDecimal(value);
    if (!number || *number < 0) {
        return std::nullopt;
    }
    return static_cast<MarkupColor>(*number) & 0xFFFFFF;
}

// How the text is written at a point of the mark-up.
struct Pen {
    MarkupStyle style;
    std::optional<MarkupStyle> beforeLink;
    bool link = false;
    std::wstring href;
    std::optional<MarkupColor> background;
    MarkupAlign align = MarkupAlign::Left;
};

// Goes through the lines once. Without an output it only measures, which the
// right and centred lines need before they can be placed.
class Typesetter {
public:
    Typesetter(const MarkupFrame& frame, MarkupMeasurer& measurer, MarkupLayout* out)
        : frame_(frame), measurer_(measurer), out_(out) {
        pen_.style = frame.style;
    }

    void Line(const std::wstring& line) {
        x_ = Indent(line);
        size_t pos = 0;
        for (size_t open = line.find(L'<'); open != std::wstring::npos;
             open = line.find(L'<', pos)) {
            Put(PlainText(line.substr(pos, open - pos)));
            const size_t close = line.find(L'>', open + 1);
            if (close == std::wstring::npos) {
                // An unclosed tag ends after its first character.
                Tag(line.substr(open + 1, 1));
                pos = std::min(open + 2, line.size());
            } else {
                Tag(line.substr(open + 1, close - open - 1));
                pos = close + 1;
            }
        }
        Put(PlainText(line.substr(pos)));
        NewLine();
    }

    int Widest() const { return widest_; }
    int Y() const { return y_; }

private:
    int Indent(const std::wstring& line) const {
        if (out_ == nullptr || pen_.align == MarkupAlign::Left) {
            return 0;
        }
        Typesetter measure(frame_, measurer_, nullptr);
        measure.pen_ = pen_;
        measure.pen_.align = MarkupAlign::Left;
        measure.Line(line);
        const int room = std::max(0, frame_.width - measure.Widest());
        return pen_.align == MarkupAlign::Right ? room : room / 2;
    }

    void Put(const std::wstring& text) {
        if (text.empty()) {
            return;
        }
        const int width = measurer_.Width(text, pen_.style);
        if (out_ != nullptr) {
            out_->runs.push_back(
                {text, x_, y_, width, pen_.style, pen_.link, pen_.href, pen_.background});
        }
        x_ += width;
    }

    void NewLine() {
        widest_ = std::max(widest_, x_);
        y_ += measurer_.Height(pen_.style);
        x_ = 0;
    }

    void Tag(const std::wstring& tag) {
        const std::wstring name = UpperCaseAscii(tag);
        if (StartsWith(name, L"/")) {
            EndTag(name.substr(1));
        } else if (StartsWith(name, L"AL")) {
            pen_.align = name.find(L"CENTER") != std::wstring::npos  ? MarkupAlign::Center
                         : name.find(L"RIGHT") != std::wstring::npos ? MarkupAlign::Right
                                                                     : MarkupAlign::Left;
        } else if (StartsWith(name, L"A") && name.find(L"HREF") != std::wstring::npos) {
            pen_.beforeLink = pen_.style;
            pen_.link = true;
            pen_.href = AttributeValue(tag, L"HREF").value_or(L"");
        } else if (StartsWith(name, L"HR")) {
            Rule(tag);
        } else if (StartsWith(name, L"IND")) {
            std::wstring value = Trim(tag.substr(3));
            while (!value.empty() && (value.front() == L'=' || value.front() == L'"' ||
                                      value.front() == L'\'' || IsBlank(value.front()))) {
                value.erase(0, 1);
            }
            while (!value.empty() && (value.back() == L'"' || value.back() == L'\'')) {
                value.pop_back();
            }
            if (const auto indent = ParseDecimal(value)) {
                x_ = std::clamp(*indent, 0, kMaxIndent);
            }
        } else if (StartsWith(name, L"FONT")) {
            Font(tag);
        } else if (StartsWith(name, L"B")) {
            pen_.style.bold = true;
        } else if (StartsWith(name, L"I")) {
            pen_.style.italic = true;
        } else if (StartsWith(name, L"U")) {
            pen_.style.underline = true;
        } else if (StartsWith(name, L"S")) {
            pen_.style.strikeOut = true;
        }
    }

    void EndTag(const std::wstring& name) {
        if (StartsWith(name, L"FONT")) {
            pen_.background.reset();
            pen_.style.size = frame_.style.size;
        } else if (StartsWith(name, L"AL")) {
            // Alignment holds until the next ALIGN.
        } else if (StartsWith(name, L"A")) {
            pen_.link = false;
            if (pen_.beforeLink) {
                pen_.style = *pen_.beforeLink;
            }
        } else if (StartsWith(name, L"B")) {
            pen_.style.bold = false;
        } else if (StartsWith(name, L"I")) {
            pen_.style.italic = false;
        } else if (StartsWith(name, L"U")) {
            pen_.style.underline = false;
        } else if (StartsWith(name, L"S")) {
            pen_.style.strikeOut = false;
        }
    }

    // COLOR is left alone on purpose: the label's own colours (blue link,
    // red under the mouse, the disabled look) are what shows it is a link.
    void Font(const std::wstring& tag) {
        if (const auto value = AttributeValue(tag, L"BGCOLOR")) {
            if (SameTextAscii(*value, L"clNone")) {
                pen_.background.reset();
            } else if (const auto color = ParseColor(*value)) {
                pen_.background = color;
            }
        }
        if (AttributeValue(tag, L"SIZE") && !frame_.disabledLook) {
            const long long factor = NumberAttribute(tag, L"SIZE").value_or(2);
            pen_.style.size = static_cast<int>(
                std::clamp<long long>(factor * frame_.style.size / 2, 1, kMaxFontSize));
        }
    }

    void Rule(const std::wstring& tag) {
        if (out_ != nullptr) {
            const int thickness =
                std::clamp(NumberAttribute(tag, L"SIZE").value_or(1), 1, kMaxRuleThickness);
            out_->rules.push_back({y_ + measurer_.Height(pen_.style), frame_.width, thickness});
        }
        NewLine();
    }

    const MarkupFrame& frame_;
    MarkupMeasurer& measurer_;
    MarkupLayout* out_;
    Pen pen_;
    int x_ = 0;
    int y_ = 0;
    int widest_ = 0;
};

} // namespace

std::wstring LinkDisplayText(const std::wstring& caption) {
    return caption.find(L"<x>") != std::wstring::npos ? L"<a href=><u>" + caption : caption;
}

bool IsLinkText(const std::wstring& displayText) {
    return displayText.find(L"href") != std::wstring::npos;
}

MarkupLayout LayoutMarkup(const std::wstring& text, const MarkupFrame& frame,
                          MarkupMeasurer& measurer) {
    MarkupLayout layout;
    Typesetter typesetter(frame, measurer, &layout);
    for (const auto& line : PreparedLines(text)) {
        typesetter.Line(line);
    }
    layout.width = typesetter.Widest();
    layout.height = typesetter.Y() > 0 ? typesetter.Y() + 1 : measurer.Height(frame.style) + 1;
    return layout;
}

} // namespace torvik
