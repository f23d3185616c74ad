#pragma once
#include <functional>
#include <string>

#include "inventory/AppFolders.h"
#include "inventory/SettingsTransfer.h"
#include "inventory/SingleInstance.h"
#include "platform/Clock.h"

namespace torvik {

// Application identity.
inline constexpr wchar_t kAppTitle[] = L"Torvik Updater";
inline constexpr wchar_t kExeFileName[] = L"updater.exe";
inline constexpr wchar_t kCompanyFolder[] = L"Torvik Software";

// The steps of start-up that belong to other parts of the program. Each may
// be left empty where that part does not exist in a build.
struct StartupSteps {
    std::function<void()> installCrashHandling;
    std::function<void()> loadInstallerFunctions; // msi.dll, for shortcut resolution
    std::function<void()> initializeCom;
    std::function<void()> removeUpgradeLeftovers;
    std::function<void(const std::wstring& defaultFolder, const std::wstring& exeName,
                       const std::wstring& programName, const std::wstring& companyFolder)>
        setInstallationParameters;
    // True when this run was taken over by the installer or uninstaller.
    std::function<bool()> checkInstallation;
    // Creates the main window and runs the message loop; returns the exit code.
    std::function<int()> runMainWindow;
};

// The entry sequence: module initialisation, the installation check, the
// single-instance check, then the main window. Returns the process exit code.
// Records the start time first (see ProcessStartTime).
int RunStartup(const AppFolders& folders, const Clock& clock, SettingsTransfer& transfer,
               SingleInstance& instance, const StartupSteps& steps);

// The local date and time at which start-up began (0 before it ran); crash
// reports show it.
double ProcessStartTime();

} // namespace torvik
