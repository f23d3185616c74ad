#include <gtest/gtest.h>

#include "fakes/AppFixture.h"

namespace torvik {
namespace {

using testing::AppFixture;

TEST(AppFolders, PortableCopyKeepsSettingsBesideTheExecutable) {
    AppFixture f;
    f.RunFrom(L"C:\\Tools\\X\\updater.exe");
    EXPECT_EQ(f.Folders().AppExePath(), L"C:\\Tools\\X\\");
    EXPECT_EQ(f.Folders().AppSettingsPath(), L"C:\\Tools\\X\\");
    EXPECT_EQ(f.Folders().InSettings(L"updater_cache.db"), L"C:\\Tools\\X\\updater_cache.db");
    EXPECT_FALSE(f.Folders().RunningInstalled());
}

TEST(AppFolders, InstalledCopyKeepsSettingsInApplicationData) {
    AppFixture f;
    f.RunFrom(AppFixture::kInstalledExe);
    const std::wstring expected = L"C:\\users\\joe\\AppData\\Local\\Torvik Software\\";
    EXPECT_EQ(f.Folders().AppSettingsPath(), expected);
    EXPECT_TRUE(f.fs.DirectoryExists(expected)) << "the settings folder is created";
    EXPECT_TRUE(f.Folders().RunningInstalled());

    f.fs.AddFile(std::wstring(AppFixture::kInstalledExe) + L".roaming");
    EXPECT_EQ(f.Folders().AppSettingsPath(),
              L"C:\\users\\joe\\AppData\\Roaming\\Torvik Software\\");
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST(AppFolders, NoinstallInProgramFilesWarnsOnEveryEvaluation) {
    AppFixture f;
    f.RunFrom(AppFixture::kInstalledExe, {L"/noinstall"});
    EXPECT_EQ(f.Folders().AppSettingsPath(), L"C:\\Program Files (x86)\\Torvik Software\\");
    EXPECT_EQ(f.Folders().AppSettingsPath(), L"C:\\Program Files (x86)\\Torvik Software\\");
    ASSERT_EQ(f.dialogs.messages.size(), 2u);
    EXPECT_EQ(f.dialogs.messages[0],
              L"You have specified \"noinstall\" while in \"c:\\program files\".\r\n"
              L"Some settings will be created in c:\\program files");

    AppFixture portable;
    portable.RunFrom(L"C:\\Tools\\X\\updater.exe", {L"noinstall"});
    EXPECT_EQ(portable.Folders().AppSettingsPath(), L"C:\\Tools\\X\\");
    EXPECT_TRUE(portable.dialogs.messages.empty());
}

TEST(AppFolders, ProgramFilesTestIsAPlainPrefixTest) {
    AppFixture f;
    f.RunFrom(L"C:\\PROGRAM FILES (X86)X\\Foo\\updater.exe");
    EXPECT_TRUE(f.Folders().AppExeInProgramFiles());
    f.RunFrom(L"C:\\Program Files (x86)\\pstools\\updater.exe");
    EXPECT_TRUE(f.Folders().AppExeInProgramFiles());
    EXPECT_FALSE(f.Folders().RunningInstalled());
}

TEST(AppFolders, MissingShellFoldersDoNotMakeEveryCopyInstalled) {
    AppFixture f;
    f.shell.folders.clear();
    f.RunFrom(L"C:\\Tools\\X\\updater.exe");
    EXPECT_EQ(f.Folders().ProgramFilesFolder(), L"");
    EXPECT_FALSE(f.Folders().AppExeInProgramFiles());
    EXPECT_EQ(f.Folders().AppSettingsPath(), L"C:\\Tools\\X\\");
    EXPECT_EQ(f.Folders().QuickLaunchFolder(), L"Microsoft\\Internet Explorer\\Quick Launch");
}

TEST(AppFolders, ShellFoldersDerivedFromAppData) {
    AppFixture f;
    f.RunFrom(L"C:\\Tools\\X\\updater.exe");
    EXPECT_EQ(f.Folders().QuickLaunchFolder(),
              L"C:\\users\\joe\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch");
    const std::wstring temp = L"C:\\users\\joe\\AppData\\Local\\Temp\\TorvikSoftware";
    EXPECT_EQ(f.Folders().TempFilesFolder(), temp);
    EXPECT_TRUE(f.fs.DirectoryExists(temp));
}

TEST(AppFolders, InSettingsAndInTempLeaveAbsoluteNamesAlone) {
    AppFixture f;
    f.RunFrom(L"C:\\Tools\\X\\updater.exe");
    const auto& folders = f.Folders();
    struct Case {
        const wchar_t* name;
        std::wstring inSettings, inTemp;
    };
    const std::wstring temp = L"C:\\users\\joe\\AppData\\Local\\Temp\\TorvikSoftware\\";
    const Case cases[] = {
        {L"a.ini", L"C:\\Tools\\X\\a.ini", temp + L"a.ini"},
        {L"D:\\x\\a.ini", L"D:\\x\\a.ini", L"D:\\x\\a.ini"},
        {L"\\\\server\\share\\a.ini", L"\\\\server\\share\\a.ini", L"\\\\server\\share\\a.ini"},
        {L"sub\\a.ini", L"C:\\Tools\\X\\sub\\a.ini", L"sub\\a.ini"},
        {L"x:y", L"x:y", L"x:y"}, // a colon second means a drive
    };
    for (const auto& c : cases) {
        EXPECT_EQ(folders.InSettings(c.name), c.inSettings) << c.name;
        EXPECT_EQ(folders.InTemp(c.name), c.inTemp) << c.name;
    }
}

TEST(AppFolders, ExecutableFolderIsExpandedToLongNames) {
    AppFixture f;
    f.fs.AddAlias(L"C:\\PROGRA~2", L"Program Files (x86)");
    f.fs.AddAlias(L"C:\\PROGRA~2\\TORVIK~1", L"Torvik Software");
    f.RunFrom(L"C:\\PROGRA~2\\TORVIK~1\\updater.exe");
    EXPECT_EQ(f.Folders().AppExePath(), L"C:\\Program Files (x86)\\Torvik Software\\");
    EXPECT_TRUE(f.Folders().AppExeInProgramFiles());

    // A component that cannot be looked up keeps its name.
    AppFixture gone;
    gone.fs.AddAlias(L"C:\\PROGRA~2", L"Program Files (x86)");
    gone.processes.exePath = L"C:\\PROGRA~2\\Gone\\updater.exe";
    EXPECT_EQ(gone.Folders().AppExePath(), L"C:\\Program Files (x86)\\Gone\\");

    AppFixture network;
    network.processes.exePath = L"\\\\server\\SHARE~1\\updater.exe";
    EXPECT_EQ(network.Folders().AppExePath(), L"\\\\server\\SHARE~1\\");
}

TEST(AppFolders, OnDesktopOnlyWhenTheFolderIsTheDesktopItself) {
    struct Case {
        const wchar_t* exe;
        bool onDesktop;
    };
    const Case cases[] = {
        {L"C:\\users\\joe\\Desktop\\updater.exe", true},
        {L"C:\\users\\joe\\DESKTOP\\updater.exe", true},
        {L"C:\\users\\joe\\Desktop\\tools\\updater.exe", false},
        {L"C:\\desktopapps\\updater.exe", false},
        {L"C:\\Tools\\updater.exe", false},
    };
    for (const auto& c : cases) {
        AppFixture f;
        f.RunFrom(c.exe);
        EXPECT_EQ(f.Folders().AppExeOnDesktop(), c.onDesktop) << c.exe;
    }
}

TEST(AppFolders, DirectoryFilesAreOnlyPlainFiles) {
    AppFixture f;
    f.fs.AddFile(L"C:\\d\\a.ini");
    f.fs.AddFile(L"C:\\d\\b.txt");
    f.fs.AddFolder(L"C:\\d\\sub.ini");
    f.fs.AddFile(L"C:\\d\\sub.ini\\c.ini");
    auto names = f.Folders().GetDirectoryFilesNoPath(L"C:\\d", L"");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a.ini", L"b.txt"}));
    EXPECT_EQ(f.Folders().GetDirectoryFilesNoPath(L"C:\\d\\", L"*.ini"),
              std::vector<std::wstring>{L"a.ini"});
    EXPECT_TRUE(f.Folders().GetDirectoryFilesNoPath(L"C:\\missing", L"*.*").empty());
}

} // namespace
} // namespace torvik
