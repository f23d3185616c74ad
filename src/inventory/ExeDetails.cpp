#include "inventory/ExeDetails.h"

#include <cwchar>

#include "common/Error.h"
#include "common/Text.h"

namespace torvik {
namespace {

const wchar_t* const kDetailKeys[] = {
    L"CompanyName",    L"FileDescription", L"FileVersion",      L"InternalName",
    L"LegalCopyright", L"LegalTradeMarks", L"OriginalFilename", L"ProductName",
    L"ProductVersion", L"Comments",        L"Author",
};

// The string table of the first translation only: strings that exist under
// another language or code page are deliberately not looked for.
std::optional<std::wstring> StringTableName(const VersionResource& resource) {
    const auto translations = resource.Translations();
    if (translations.empty()) {
        return std::nullopt;
    }
    const unsigned language = translations.front() & 0xFFFF;
    const unsigned codePage = translations.front() >> 16;
    wchar_t name[32];
    std::swprintf(name, 32, L"\\StringFileInfo\\%.4x%.4x\\", language, codePage);
    return std::wstring(name);
}

} // namespace

std::wstring FormatFileVersion(const FixedFileVersion& version) {
    return std::to_wstring(version.ms >> 16) + L"." + std::to_wstring(version.ms & 0xFFFF) + L"." +
           std::to_wstring(version.ls >> 16) + L" build:" + std::to_wstring(version.ls & 0xFFFF);
}

std::wstring GetEXEversion(const VersionInfo& info, const std::wstring& fileName) {
    return VersionTextOf(info.Load(fileName).get());
}

std::wstring VersionTextOf(const VersionResource* resource) {
    const auto fixed = resource ? resource->FixedVersion() : std::nullopt;
    return fixed ? FormatFileVersion(*fixed) : L"debug build:0";
}

std::wstring GetBuildNumber(const VersionInfo& info, const std::wstring& ownExecutable) {
    const auto resource = info.Load(ownExecutable);
    const auto fixed = resource ? resource->FixedVersion() : std::nullopt;
    return std::to_wstring(fixed ? (fixed->ls & 0xFFFF) : 0);
}

std::wstring GetEXEFileInformation(const VersionInfo& info, const std::wstring& fileName,
                                   const std::wstring& key) {
    if (key.empty()) {
        throw TorvikError(L"No key passed to getEXEFileInformation");
    }
    const auto resource = info.Load(fileName);
    if (!resource) {
        return {};
    }
    const auto table = StringTableName(*resource);
    if (!table) {
        return {};
    }
    return resource->StringValue(*table + key).value_or(std::wstring());
}

std::wstring GetEXEFileDescription(const VersionInfo& info, const std::wstring& fileName) {
    return GetEXEFileInformation(info, fileName, L"FileDescription");
}

std::vector<std::wstring> GetEXEdetails(const VersionInfo& info, const std::wstring& fileName) {
    return DetailsLinesOf(info.Load(fileName).get());
}

std::vector<std::wstring> DetailsLinesOf(const VersionResource* resource) {
    std::vector<std::wstring> lines;
    if (resource == nullptr) {
        return lines;
    }
    const auto table = StringTableName(*resource);
    if (!table) {
        return lines;
    }
    for (const wchar_t* key : kDetailKeys) {
        const std::wstring value = Trim(resource->StringValue(*table + key).value_or(L""));
        if (!value.empty()) {
            lines.push_back(L"[" + std::wstring(key) + L"]");
            lines.push_back(EscapeLineBreaks(value));
        }
    }
    return lines;
}

std::wstring EscapeLineBreaks(const std::wstring& value) {
    return ReplaceAll(ReplaceAll(value, L"\r\n", L"\r"), L"\r", L"<br>");
}

std::wstring DetailsText(const std::vector<std::wstring>& lines) {
    return LinesToText(lines);
}

} // namespace torvik
