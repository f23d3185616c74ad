#pragma once
#include <windows.h>

#include "platform/ShellLinks.h"
#include "platform/win32/UniqueHandle.h"

namespace torvik::win32 {

// Shell shortcuts through IShellLinkW and IPersistFile. COM is initialised
// on each thread that uses it, on first use. The Windows Installer functions
// are looked up in msi.dll when the object is created; without them
// advertised shortcuts cannot be resolved.
class Win32ShellLinks : public ShellLinks {
public:
    Win32ShellLinks();
    ShellLinkData Read(const std::wstring& linkFile) const override;
    std::wstring ResolveMSILink(const std::wstring& linkFile) const override;
    bool Create(const std::wstring& linkFile, const ShellLinkData& data) const override;

    bool HasInstallerFunctions() const { return static_cast<bool>(msi_); }

private:
    // The target, working folder and arguments of an advertised shortcut:
    // the stored ones, with the component's path as target when Windows
    // Installer reports it installed locally. Needs the installer functions.
    void GetExecData(const std::wstring& linkFile, std::wstring& target,
                     std::wstring& workingFolder, std::wstring& arguments) const;

    using GetShortcutTargetFn = UINT(WINAPI*)(LPCWSTR, LPWSTR, LPWSTR, LPWSTR);
    using GetComponentPathFn = int(WINAPI*)(LPCWSTR, LPCWSTR, LPWSTR, LPDWORD);

    UniqueModule msi_;
    GetShortcutTargetFn getShortcutTarget_ = nullptr;
    GetComponentPathFn getComponentPath_ = nullptr;
};

// The Windows folder (GetWindowsDirectoryW), without a trailing backslash.
std::wstring WindowsDirectory();

} // namespace torvik::win32
