#pragma once
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "server/Storage.h"

// A catalogue import file is UTF-8 JSON of this form:
//
//   {
//     "programs": [
//       {
//         "name": "Demo App",                  required, no line break
//         "exe": "scanfix_app.exe",            required, ends in ".exe" (any
//                                              letter case), no "\", "/", "|"
//                                              and no line break
//         "latest_version": "1.3.0.0",         required, one to four decimal
//                                              numbers of 0 to 65535 joined by "."
//         "product_url": "https://...",        optional, default ""
//         "download_url": "https://...",       optional, default ""
//         "comments": "...",                   optional, default ""
//         "has_icon": false                    optional, default false
//       }
//     ]
//   }
//
// Every text is a JSON string of at most 1000 bytes, has_icon a JSON
// boolean; "name", "exe" and "latest_version" must not be empty. Fields
// other than these are refused (a misspelt optional field would otherwise
// be lost without notice), and so are two programs with the same name and
// exe (letter case ignored), since one would silently replace the other.
// Any fault refuses the whole file.

namespace torvik::server {

// Why a catalogue file was refused: "line 7: programs[2].latest_version:
// \"1.x\" is not a version", or "line 3, column 12: malformed JSON: ..."
// when the text is not JSON, the column being that of the character at
// which reading stopped. Lines and columns count from 1, columns in bytes;
// programs are counted from 0. A wrong field is reported at the line of its
// name, a wrong or incomplete program at the line where it starts.
class CatalogueFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads and checks a catalogue file. Throws CatalogueFileError when the file
// cannot be read or any part of it is wrong.
std::vector<CatalogueEntry> ReadCatalogueFile(const std::string& path);

// Checks the text of a catalogue file and gives its programs in file order.
// Throws CatalogueFileError.
std::vector<CatalogueEntry> ParseCatalogueText(const std::string& text);

// Whether the text is a catalogue version: one to four decimal numbers of 0
// to 65535 joined by ".".
bool IsCatalogueVersion(std::string_view text);

} // namespace torvik::server
