#include "platform/win32/ShellIcons.h"

#include <shellapi.h>

namespace torvik::win32 {

UniqueIcon SmallShellIcon(const std::wstring& key) {
    SHFILEINFOW info{};
    const DWORD attributes = key == L"folder" ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (::SHGetFileInfoW(key.c_str(), attributes, &info, sizeof(info),
                         SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES) == 0) {
        return {};
    }
    return UniqueIcon(info.hIcon);
}

UniqueIcon FirstIconOfFile(const std::wstring& file) {
    HICON icon = ::ExtractIconW(::GetModuleHandleW(nullptr), file.c_str(), 0);
    // 1 means "not an executable, library or icon file", which is no handle.
    if (reinterpret_cast<INT_PTR>(icon) == 1) {
        return {};
    }
    return UniqueIcon(icon);
}

} // namespace torvik::win32
