#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "inventory/CommandLine.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/ShellFolders.h"

namespace torvik {

// The platform services the start-up code and the folder rules need.
struct AppEnvironment {
    FileSystem& fs;
    ShellFolders& shell;
    Processes& processes;
    Dialogs& dialogs;
    const CommandLine& args;
};

// Where the program lives, where its settings and temporary files go, and the
// shell's special folders. Safe to call from any thread: the only state is
// the executable folder, computed once.
class AppFolders {
public:
    explicit AppFolders(AppEnvironment env) : env_(env) {}

    const AppEnvironment& Env() const { return env_; }

    // Shell folders: no trailing backslash; empty when the shell fails.
    std::wstring DesktopFolder() const;
    std::wstring ProgramFilesFolder() const;
    std::wstring ApplicationDataFolder_Roaming() const;
    std::wstring ApplicationDataFolder_Local() const;
    std::wstring StartMenuFolder() const;
    std::wstring CommonStartMenuFolder() const;
    std::wstring QuickLaunchFolder() const;
    // Local application data + "Temp\TorvikSoftware", created on every call.
    std::wstring TempFilesFolder() const;

    // The executable's folder with long names, ending in a backslash.
    std::wstring AppExePath() const;
    // The folder for settings and cache files, ending in a backslash:
    // beside the executable for a portable copy, the (local or roaming)
    // application-data folder for a copy in Program Files. Evaluated afresh
    // on every call.
    std::wstring AppSettingsPath() const;
    std::wstring AppPath() const { return AppSettingsPath(); }
    // name inside the settings folder, unless name is already absolute.
    std::wstring InSettings(const std::wstring& name) const;
    // name inside the temporary folder, unless it has a ":" or a backslash.
    std::wstring InTemp(const std::wstring& name) const;

    bool AppExeInProgramFiles() const;
    bool AppExeOnDesktop() const;
    bool RunningInstalled() const;
    bool AppHasAdminPrivileges() const { return env_.processes.IsElevated(); }

    // Names of the plain files of folder matching mask ("*.*" when empty).
    std::vector<std::wstring> GetDirectoryFilesNoPath(const std::wstring& folder,
                                                      const std::wstring& mask) const;

    // The name of the folder holding the executable (at most 100 characters).
    std::wstring ExeFolderName() const;

private:
    std::wstring ExpandLongNames(const std::wstring& folder) const;

    AppEnvironment env_;
    mutable std::once_flag exePathOnce_;
    mutable std::wstring exePath_;
};

} // namespace torvik
