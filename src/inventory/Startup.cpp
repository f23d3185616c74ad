#include "inventory/Startup.h"

#include "inventory/PathUtils.h"

namespace torvik {
namespace {
void Run(const std::function<void()>& step) {
    if (step) {
        step();
    }
}
} // namespace

int RunStartup(const AppFolders& folders, SettingsTransfer& transfer, SingleInstance& instance,
               const StartupSteps& steps) {
    Run(steps.installCrashHandling);
    transfer.TransferSettingsFromProgramFilesToLocalSettings();
    Run(steps.loadInstallerFunctions);
    Run(steps.initializeCom);
    Run(steps.removeUpgradeLeftovers);

    if (steps.setInstallationParameters) {
        steps.setInstallationParameters(
            ForceTrailingBackslash(MakeFn(folders.ProgramFilesFolder(), kCompanyFolder)),
            kExeFileName, kAppTitle, kCompanyFolder);
    }
    if (steps.checkInstallation && steps.checkInstallation()) {
        return 0;
    }
    instance.SetTitle(kAppTitle);
    if (!instance.SetSingleInstanceApp()) {
        return 0;
    }
    transfer.TransferSettingsFromProgramFilesToLocalSettings();
    return steps.runMainWindow ? steps.runMainWindow() : 0;
}

} // namespace torvik
