#pragma once
#include <string>
#include <vector>

#include "platform/VersionInfo.h"

namespace torvik {

// The version text of fixed file information: "6.1.7601 build:17514".
std::wstring FormatFileVersion(const FixedFileVersion& version);

// The file version of fileName as above; "debug build:0" when the file has
// no version resource, no fixed information in it, or cannot be read.
std::wstring GetEXEversion(const VersionInfo& info, const std::wstring& fileName);
// The same of a loaded resource (nullptr: none).
std::wstring VersionTextOf(const VersionResource* resource);

// The build number (the fourth number of the file version) of the program's
// own executable as decimal text; "0" without version information.
std::wstring GetBuildNumber(const VersionInfo& info, const std::wstring& ownExecutable);

// The version-resource string for key under the resource's first
// translation only; empty when it is missing there or cannot be read.
// Throws TorvikError for an empty key.
std::wstring GetEXEFileInformation(const VersionInfo& info, const std::wstring& fileName,
                                   const std::wstring& key);
std::wstring GetEXEFileDescription(const VersionInfo& info, const std::wstring& fileName);

// The descriptive strings of the version resource, in a fixed key order: for
// each key with a non-blank value the line "[key]" and the value line (line
// breaks escaped, see EscapeLineBreaks). Empty without version strings.
std::vector<std::wstring> GetEXEdetails(const VersionInfo& info, const std::wstring& fileName);
// The same of a loaded resource (nullptr: none).
std::vector<std::wstring> DetailsLinesOf(const VersionResource* resource);

// Every CR LF becomes CR, then every CR "<br>"; a lone LF stays.
std::wstring EscapeLineBreaks(const std::wstring& value);

// The lines as one text, each followed by CR LF.
std::wstring DetailsText(const std::vector<std::wstring>& lines);

} // namespace torvik
