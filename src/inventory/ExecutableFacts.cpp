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

std::wstring PlatformExecutableFacts::FileDescription(const std::wstring& fileName) const {
    return GetEXEFileDescription(versions_, fileName);
}

int64_t PlatformExecutableFacts::FileSize(const std::wstring& fileName) const {
    return torvik::FileSize(fs_, fileName);
}

double PlatformExecutableFacts::FileDateTime(const std::wstring& fileName) const {
    return torvik::FileDateTime(fs_, zone_, fileName);
}

} // namespace torvik
