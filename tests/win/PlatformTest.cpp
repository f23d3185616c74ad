#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "common/Utf8.h"
#include "inventory/AppFolders.h"
#include "inventory/PopupMsg.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Platform.h"

namespace torvik::win32 {
namespace {

TEST(Win32ShellFolders, ResolvesTheProfileFolders) {
    Win32ShellFolders shell;
    for (const Csidl folder : {Csidl::Desktop, Csidl::ProgramFiles, Csidl::AppData,
                               Csidl::LocalAppData, Csidl::StartMenu, Csidl::CommonStartMenu}) {
        const std::wstring path = shell.SpecialFolderPath(folder);
        EXPECT_FALSE(path.empty()) << static_cast<int>(folder);
        EXPECT_NE(path.back(), L'\\') << path;
        EXPECT_TRUE(Win32FileSystem().DirectoryExists(path)) << StringToUtf8(path);
    }
    // A 32-bit process on 64-bit Windows sees the 32-bit Program Files folder.
    const bool x86 =
        shell.SpecialFolderPath(Csidl::ProgramFiles).find(L"(x86)") != std::wstring::npos;
    EXPECT_EQ(x86, sizeof(void*) == 4);
}

TEST(Win32Processes, ExecutableFolderIsTheTestFolder) {
    Win32FileSystem fs;
    Win32ShellFolders shell;
    Win32Processes processes;
    Win32Dialogs dialogs;
    const CommandLine args;
    const AppFolders folders({fs, shell, processes, dialogs, args});
    const std::wstring exe = processes.ExecutablePath();
    EXPECT_NE(exe.find(L"win_tests.exe"), std::wstring::npos);
    EXPECT_EQ(folders.AppExePath(), exe.substr(0, exe.find_last_of(L'\\') + 1));
    EXPECT_EQ(folders.AppSettingsPath(), folders.AppExePath()) << "a build folder is portable";
    EXPECT_TRUE(fs.DirectoryExists(folders.TempFilesFolder()));
}

TEST(Win32NamedMutexes, ReachesOtherProcesses) {
    Win32NamedMutexes mutexes;
    const std::wstring name = L"Global\\TORVIK_TEST_" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring probe = L"\"" + wintest::BesideTestExe(L"mutex_probe.exe") + L"\" ";
    EXPECT_FALSE(mutexes.Exists(name));
    EXPECT_EQ(wintest::RunAndWait(probe + name), 0);
    ASSERT_TRUE(mutexes.Create(name));
    EXPECT_TRUE(mutexes.Exists(name));
    EXPECT_EQ(wintest::RunAndWait(probe + name), 1);
}

TEST(Win32FileSystem, PendingAlertsFileHasBomAndCrLf) {
    Win32FileSystem fs;
    const std::wstring folder = wintest::BesideTestExe(L"alerts_test");
    const std::wstring path = folder + L"\\pending_alerts.log";
    fs.ForceDirectories(folder);
    fs.RemoveFile(path);
    AppendPendingAlert(fs, path, 45000.25, L"first");
    AppendPendingAlert(fs, path, 45000.5, L"zw\u00f6lf");
    EXPECT_EQ(fs.ReadFile(path), "\xEF\xBB\xBF"
                                 "2023-03-15 06:00:00: first\r\n"
                                 "2023-03-15 12:00:00: zw\xC3\xB6lf\r\n");
}

TEST(Win32FileSystem, AtomicWriteReplacesAndListsWithWildcards) {
    Win32FileSystem fs;
    const std::wstring folder = wintest::BesideTestExe(L"fs_test");
    fs.ForceDirectories(folder + L"\\deep\\er");
    EXPECT_TRUE(fs.DirectoryExists(folder + L"\\deep\\er"));
    const std::wstring file = folder + L"\\a.db";
    ASSERT_TRUE(fs.WriteFileAtomic(file, "one"));
    ASSERT_TRUE(fs.WriteFileAtomic(file, std::string("t\0o", 3)));
    EXPECT_EQ(fs.ReadFile(file), std::string("t\0o", 3));
    EXPECT_FALSE(fs.FileExists(file + L".tmp"));
    EXPECT_FALSE(fs.ReadFile(folder + L"\\missing").has_value());
    EXPECT_FALSE(fs.ReadFile(folder).has_value()) << "a folder is not a file";

    const auto entries = fs.FindFiles(folder, L"*.db");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, L"a.db");
    EXPECT_EQ(entries[0].size, 3u);
    EXPECT_FALSE(entries[0].IsDirectory());
    const auto dir = fs.FindEntry(folder + L"\\deep");
    ASSERT_TRUE(dir.has_value());
    EXPECT_TRUE(dir->IsDirectory());
}

} // namespace
} // namespace torvik::win32
