#include "inventory/ExecutableFacts.h"

#include "inventory/ExeDetails.h"
#include "inventory/FileDates.h"

namespace torvik {

std::wstring PlatformExecutableFacts::Version(const std::wstring& fileName) const {
    return GetEXEversion(versions_, fileName);
}

std::wstring PlatformExecutableFacts::Details(const std::wstring& fileName) const {
    return DetailsText(GetEXEdetails(versions_, fileName));
}

ExecutableFacts::VersionAndDetails
PlatformExecutableFacts::ReadVersionAndDetails(const std::wstring& fileName) const {
    const auto resource = versions_.Load(fileName);
    return {VersionTextOf(resource.get()), DetailsText(DetailsLinesOf(resource.get()))};
}

std::wstring PlatformExecutableFacts::FileDescription(const std::wstring& fileName) const {
    return GetEXEFileDescription(versions_, fileName);
}

int64_t PlatformExecutableFacts::FileSize(const std::wstring& fileName) const {
    return torvik::FileSize(fs_, fileName);
}

double PlatformExecutableFacts::FileDateTime(const std::wstring& fileName) const {
    return torvik::FileDateTime(fs_, zone_, fileName);
}

FileStamp PlatformExecutableFacts::Stamp(const std::wstring& fileName) const {
    if (fileName.find_first_of(L"*?") != std::wstring::npos) {
        return {};
    }
    const auto entry = fs_.FindEntry(fileName);
    if (!entry || entry->IsDirectory()) {
        return {};
    }
    return {static_cast<int64_t>(entry->size), FileTimeToDateTime(zone_, entry->lastWriteTime)};
}

} // namespace torvik
