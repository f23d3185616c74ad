#include <gtest/gtest.h>

#include "fakes/AppFixture.h"
#include "inventory/Startup.h"

namespace torvik {
namespace {

using namespace torvik::testing;

struct StartupFixture : AppFixture {
    FakeDesktop desktop;
    FakeMutexes mutexes;
    FakeClock clock;
    std::vector<std::string> calls;
    std::vector<std::wstring> installParams;
    bool installerTakesOver = false;

    StartupSteps Steps() {
        StartupSteps s;
        s.installCrashHandling = [this] { calls.push_back("crash"); };
        s.loadInstallerFunctions = [this] { calls.push_back("msi"); };
        s.initializeCom = [this] { calls.push_back("com"); };
        s.removeUpgradeLeftovers = [this] { calls.push_back("upgrade"); };
        s.setInstallationParameters = [this](auto& folder, auto& exe, auto& name, auto& company) {
            calls.push_back("params");
            installParams = {folder, exe, name, company};
        };
        s.checkInstallation = [this] {
            calls.push_back("install?");
            return installerTakesOver;
        };
        s.runMainWindow = [this] {
            calls.push_back("window");
            return 0;
        };
        return s;
    }
    int Run() {
        SettingsTransfer transfer(Folders(), nullptr);
        SingleInstance instance(desktop, mutexes, processes, args);
        return RunStartup(Folders(), clock, transfer, instance, Steps());
    }
};

TEST(Startup, RunsTheStepsInOrder) {
    StartupFixture f;
    f.RunFrom(L"C:\\Tools\\X\\updater.exe");
    EXPECT_EQ(f.Run(), 0);
    EXPECT_EQ(f.calls, (std::vector<std::string>{"crash", "msi", "com", "upgrade", "params",
                                                 "install?", "window"}));
    EXPECT_EQ(f.installParams,
              (std::vector<std::wstring>{L"C:\\Program Files (x86)\\Torvik Software\\",
                                         L"updater.exe", L"Torvik Updater", L"Torvik Software"}));
    EXPECT_EQ(f.mutexes.created, std::vector<std::wstring>{L"Global\\UPDATER.EXE"});
    EXPECT_EQ(ProcessStartTime(), f.clock.now);
}

TEST(Startup, InstallationRunOrSecondInstanceEndsWithoutWindow) {
    StartupFixture installing;
    installing.RunFrom(L"C:\\Tools\\X\\updater.exe");
    installing.installerTakesOver = true;
    EXPECT_EQ(installing.Run(), 0);
    EXPECT_EQ(installing.calls.back(), "install?");
    EXPECT_TRUE(installing.mutexes.created.empty());

    StartupFixture second;
    second.RunFrom(L"C:\\Tools\\X\\updater.exe");
    second.desktop.windowsByTitle[L"Torvik Updater"] = 9;
    EXPECT_EQ(second.Run(), 0);
    EXPECT_EQ(second.calls.back(), "install?");
    EXPECT_EQ(second.desktop.activated, std::vector<WindowHandle>{9});
}

} // namespace
} // namespace torvik
