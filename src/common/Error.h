#pragma once
#include <stdexcept>
#include <string>

namespace torvik {

// The one exception type of the program: failures carry a message text meant
// for the user (wide, as everything the user reads). what() gives it as UTF-8.
class TorvikError : public std::runtime_error {
public:
    explicit TorvikError(std::wstring message);
    const std::wstring& Message() const noexcept { return message_; }

private:
    std::wstring message_;
};

// The message of the exception being handled, of any type: a TorvikError's
// text, what() of a standard exception, "Unknown error" for anything else.
// Call only inside a catch block.
std::wstring CurrentExceptionText();

} // namespace torvik
