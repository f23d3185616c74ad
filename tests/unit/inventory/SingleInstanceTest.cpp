#include <gtest/gtest.h>

#include "common/Error.h"
#include "fakes/FakePlatform.h"
#include "inventory/SingleInstance.h"

namespace torvik {
namespace {

using namespace torvik::testing;

struct InstanceFixture {
    FakeDesktop desktop;
    FakeMutexes mutexes;
    FakeProcesses processes;
    CommandLine args;
    SingleInstance Make() {
        SingleInstance instance(desktop, mutexes, processes, args);
        instance.SetTitle(L"Torvik Updater");
        return instance;
    }
};

TEST(SingleInstance, FirstInstanceTakesTheMutexNamedAfterItsExecutable) {
    InstanceFixture f;
    f.processes.exePath = L"C:\\Tools\\My Updater.exe";
    EXPECT_TRUE(f.Make().SetSingleInstanceApp());
    EXPECT_EQ(f.mutexes.created, std::vector<std::wstring>{L"Global\\MY UPDATER.EXE"});
}

TEST(SingleInstance, RunningWindowIsActivatedAndThisInstanceEnds) {
    InstanceFixture f;
    f.desktop.windowsByTitle[L"Torvik Updater"] = 42;
    EXPECT_FALSE(f.Make().SetSingleInstanceApp());
    ASSERT_EQ(f.desktop.sent.size(), 1u);
    EXPECT_EQ(f.desktop.sent[0], std::make_pair(WindowHandle{42}, 0x0402u));
    EXPECT_EQ(f.desktop.activated, std::vector<WindowHandle>{42});
    EXPECT_TRUE(f.mutexes.created.empty());
}

TEST(SingleInstance, StartingInstanceIsFoundByItsMutex) {
    InstanceFixture f;
    f.mutexes.existing.insert(L"Global\\UPDATER.EXE");
    f.processes.exePath = L"C:\\Tools\\updater.exe";
    auto instance = f.Make();
    try {
        instance.SetSingleInstanceApp();
        FAIL() << "the process must end";
    } catch (const ProcessExited& e) {
        EXPECT_EQ(e.code, 0u);
    }
    // Another file name is another mutex.
    f.processes.exePath = L"C:\\Tools\\updater2.exe";
    EXPECT_TRUE(f.Make().SetSingleInstanceApp());
}

TEST(SingleInstance, NomutexSkipsEveryCheck) {
    InstanceFixture f;
    f.args = CommandLine({L"/nomutex"});
    f.desktop.windowsByTitle[L"Torvik Updater"] = 42;
    f.mutexes.existing.insert(L"Global\\UPDATER.EXE");
    EXPECT_TRUE(f.Make().SetSingleInstanceApp());
    EXPECT_TRUE(f.desktop.sent.empty());
    EXPECT_TRUE(f.mutexes.created.empty());
}

TEST(SingleInstance, TitleMustBeSetFirst) {
    InstanceFixture f;
    SingleInstance instance(f.desktop, f.mutexes, f.processes, f.args);
    EXPECT_THROW(instance.SetSingleInstanceApp(), TorvikError);
    instance.SetTitle(L"");
    EXPECT_THROW(instance.SetSingleInstanceApp(), TorvikError);
}

} // namespace
} // namespace torvik
