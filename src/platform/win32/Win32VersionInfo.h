#pragma once
#include "platform/VersionInfo.h"

namespace torvik::win32 {

class Win32VersionInfo : public VersionInfo {
public:
    std::unique_ptr<VersionResource> Load(const std::wstring& fileName) const override;
};

} // namespace torvik::win32
