#pragma once
#include <functional>
#include <string>

#include "common/Error.h"

namespace torvik {

// What screening does besides raising: the debug copy of the reply (only
// with the switch "debug") and the one message it shows without raising.
struct ScreeningHooks {
    std::function<void(const std::wstring& text)> writeDebugCopy;
    std::function<void(const std::wstring& message)> showMessage;
};

// Turns a service reply that is a failure into a TorvikError with a short
// text, before anything reads its sections. The markers, in this order:
// the hidden-details page (a message, no raise), "Server Error" (not "Server
// Error and Usage"), "HTTP Error", "error:", "warning:" (unless the reply
// describes "text:char:255" or "text:sqlnvarchar:255" columns, letter case
// ignored), and the bold script forms "warning</b>:" and "error</b>:" (letter
// case ignored). Returns normally for any other reply.
void ScreenReply(const std::wstring& text, const ScreeningHooks& hooks = {});

// "ASPX error: " + the page's title ("&quot;" read as '"'); the whole text
// for a page without both title tags.
std::wstring GetASPXError(const std::wstring& text);
// The text from its first "error:" on, at most 200 characters; the whole
// text without one.
std::wstring GetCustomError(const std::wstring& text);

} // namespace torvik
