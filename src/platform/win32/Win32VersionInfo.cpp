#include "platform/win32/Win32VersionInfo.h"

#include <windows.h>

#include <cwchar>

namespace torvik::win32 {
namespace {

class Win32VersionResource : public VersionResource {
public:
    explicit Win32VersionResource(std::vector<unsigned char> block) : block_(std::move(block)) {}

    std::optional<FixedFileVersion> FixedVersion() const override {
        UINT length = 0;
        const void* value = Query(L"\\", length);
        if (value == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
            return std::nullopt;
        }
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        return FixedFileVersion{fixed->dwFileVersionMS, fixed->dwFileVersionLS};
    }

    std::vector<uint32_t> Translations() const override {
        UINT length = 0;
        const void* value = Query(L"\\VarFileInfo\\Translation", length);
        std::vector<uint32_t> out;
        if (value == nullptr) {
            return out;
        }
        const auto* entries = static_cast<const DWORD*>(value);
        for (UINT i = 0; i < length / sizeof(DWORD); ++i) {
            out.push_back(entries[i]);
        }
        return out;
    }

    std::optional<std::wstring> StringValue(const std::wstring& subBlock) const override {
        UINT length = 0;
        const void* value = Query(subBlock.c_str(), length);
        if (value == nullptr) {
            return std::nullopt;
        }
        // The length counts characters and usually the terminating zero;
        // stop at the zero without trusting either.
        const auto* text = static_cast<const wchar_t*>(value);
        return std::wstring(text, wcsnlen(text, length));
    }

private:
    const void* Query(const wchar_t* subBlock, UINT& length) const {
        void* value = nullptr;
        // VerQueryValueW takes a non-const block but only reads it.
        if (!::VerQueryValueW(const_cast<unsigned char*>(block_.data()), subBlock, &value,
                              &length)) {
            return nullptr;
        }
        return value;
    }

    std::vector<unsigned char> block_;
};

} // namespace

std::unique_ptr<VersionResource> Win32VersionInfo::Load(const std::wstring& fileName) const {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(fileName.c_str(), &handle);
    if (size == 0) {
        return nullptr;
    }
    std::vector<unsigned char> block(size, 0);
    if (!::GetFileVersionInfoW(fileName.c_str(), 0, size, block.data())) {
        return nullptr;
    }
    return std::make_unique<Win32VersionResource>(std::move(block));
}

} // namespace torvik::win32
