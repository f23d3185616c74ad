#include "inventory/Startup.h"

#include <atomic>

#include "common/PathUtils.h"

namespace torvik {
namespace {
std::atomic<double> startTime{0.0};

void Run(const std::function<void()>& step) {
    if (step) {
        step();
    }
}
} // namespace

double ProcessStartTime() {
    return startTime.load();
}

int RunStartup(const AppFolders& folders, const Clock& clock, SettingsTransfer& transfer,
               SingleInstance& instance, const StartupSteps& steps) {
    startTime.store(clock.Now());
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
