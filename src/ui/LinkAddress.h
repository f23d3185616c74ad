#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace torvik {

// The address a link of the details page hands to the shell, from the text
// of the hidden edit behind it (what the service sent, which anyone may have
// submitted); nothing when that text is empty or not a web address.
//
// Only http and https addresses are ever opened: the shell would run a path,
// a UNC name, a file: URL or any registered scheme (javascript:, ms-settings:
// ...) as readily as it opens a web page. Text with blanks, control or
// formatting characters, or characters that a URL never holds unencoded
// (a quote would end the argument the browser is started with) is refused,
// and so is an address with user information ("name@host" hides the host).
//
// An address without a scheme ("example.org/x", "example.org:8080") opens as
// "http://" + it; "http://" and "https://" addresses (scheme in any letter
// case) open as they are. The old rule, every "http://" removed and one put
// in front, opened "https://x" as "http://https://x" and broke an address
// that carries "http://" in its query; what it meant was only the missing
// scheme, which is what stays.
std::optional<std::wstring> AddressToOpen(std::wstring_view text);

} // namespace torvik
