#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace torvik::server {

// A reply as the client reads it: bracketed section headers, records of
// "|"-separated fields, every line ended by CR LF.
class ReplyText {
public:
    void Section(std::string_view name);
    void Line(std::string_view line);
    // The fields must hold no "|" and no line break (see ReplyField).
    void Record(std::initializer_list<std::string_view> fields);
    // A section with one value line of free text (ReplyLineText), none
    // when the value is empty.
    void ValueSection(std::string_view name, std::string_view value);
    // Another reply's lines, as they are.
    void Append(const ReplyText& other) { text_ += other.text_; }
    void Reserve(size_t bytes) { text_.reserve(bytes); }
    const std::string& Text() const { return text_; }
    std::string Take() && { return std::move(text_); }

private:
    std::string text_;
};

// True when the text holds something the client's screening takes for a
// failure of the service ("error:", "warning:", "Server Error", "HTTP
// Error", their bold script forms, the hidden-details page), letter case
// ignored.
bool HoldsErrorMarker(std::string_view text);

// A free text (comments, URLs) fit for one field of a reply line: "|"
// becomes "/", line breaks become blanks, and every error marker is defused
// by changing the character that completes it ("error:" becomes "error -",
// "Server Error" becomes "Server-Error").
std::string ReplyField(std::string_view text);

// A free text fit for a whole line of a reply: ReplyField's, and a leading
// "[" (which would open a section) becomes "(".
std::string ReplyLineText(std::string_view text);

// Every line break of text (CR LF, CR or LF) written as mark ("<br>").
std::string LineBreaksAs(std::string_view text, std::string_view mark);

// A reply of one section with one value line, as ReplyText::ValueSection.
std::string ValueReply(std::string_view section, std::string_view value);

// The reply of a failed request: "error: " + message, one line.
std::string ErrorReply(std::string_view message);

} // namespace torvik::server
