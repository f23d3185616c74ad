#include <gtest/gtest.h>

#include <filesystem>

#include "WinTestSupport.h"
#include "common/Error.h"
#include "inventory/ShellLinkResolve.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ShellLinks.h"

namespace torvik::win32 {
namespace {

class Win32ShellLinksTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = wintest::BesideTestExe(L"links_test");
        std::filesystem::remove_all(folder);
        fs.ForceDirectories(folder);
        fixture = wintest::BesideTestExe(L"fixtures\\scanfix_app.exe");
        ASSERT_TRUE(fs.FileExists(fixture));
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::wstring folder, fixture;
    Win32FileSystem fs;
    Win32ShellLinks links;
};

TEST_F(Win32ShellLinksTest, ShortcutsRoundTripTargetAndArguments) {
    const std::wstring link = folder + L"\\App.lnk";
    ASSERT_TRUE(links.Create(link, {fixture, L"--portable -x \"a b\"", folder}));
    const ShellLinkData data = links.Read(link);
    EXPECT_TRUE(_wcsicmp(data.path.c_str(), fixture.c_str()) == 0);
    EXPECT_EQ(data.arguments, L"--portable -x \"a b\"");
    // Not advertised: Windows Installer knows nothing and the stored path stays.
    EXPECT_TRUE(links.HasInstallerFunctions());
    EXPECT_TRUE(_wcsicmp(links.ResolveMSILink(link).c_str(), fixture.c_str()) == 0);
}

TEST_F(Win32ShellLinksTest, ShortcutsToMissingTargetsAndFoldersKeepTheirStoredTarget) {
    const std::wstring missing = folder + L"\\Gone\\gone.exe";
    ASSERT_TRUE(links.Create(folder + L"\\Gone.lnk", {missing, L"", L""}));
    EXPECT_TRUE(_wcsicmp(links.Read(folder + L"\\Gone.lnk").path.c_str(), missing.c_str()) == 0);
    ASSERT_TRUE(links.Create(folder + L"\\Folder.lnk", {folder, L"", L""}));
    EXPECT_TRUE(_wcsicmp(links.Read(folder + L"\\Folder.lnk").path.c_str(), folder.c_str()) == 0);
}

TEST_F(Win32ShellLinksTest, FilesThatAreNoShortcutsCannotBeRead) {
    struct Case {
        const wchar_t* name;
        std::string bytes;
    };
    const Case cases[] = {
        {L"\\empty.lnk", ""},
        {L"\\text.lnk", "[InternetShortcut]\r\nURL=http://127.0.0.1/\r\n"},
        {L"\\garbage.lnk", std::string("L\0\0\0\x01\x14\x02\0garbage\xff\xfe", 18)},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(fs.WriteFileAtomic(folder + c.name, c.bytes));
        EXPECT_THROW(links.Read(folder + c.name), TorvikError);
    }
    // A real shortcut cut short.
    ASSERT_TRUE(links.Create(folder + L"\\whole.lnk", {fixture, L"", L""}));
    const auto whole = fs.ReadFile(folder + L"\\whole.lnk");
    ASSERT_TRUE(whole.has_value());
    ASSERT_TRUE(fs.WriteFileAtomic(folder + L"\\cut.lnk", whole->substr(0, 40)));
    EXPECT_THROW(links.Read(folder + L"\\cut.lnk"), TorvikError);
    EXPECT_THROW(links.Read(folder + L"\\missing.lnk"), TorvikError);
}

TEST_F(Win32ShellLinksTest, X86TargetsFallBackToTheNativeProgramFilesFolder) {
    const std::wstring tag = L"Torvik Link Test " + std::to_wstring(::GetCurrentProcessId());
    const std::wstring native = L"C:\\Program Files\\" + tag;
    const std::wstring x86 = L"C:\\Program Files (x86)\\" + tag;
    ASSERT_TRUE(fs.ForceDirectories(native));
    ASSERT_TRUE(fs.CopyOneFile(fixture, native + L"\\app.exe"));
    ASSERT_TRUE(links.Create(folder + L"\\x86.lnk", {x86 + L"\\app.exe", L"", L""}));
    const std::wstring target = ResolveLink(links, fs, folder + L"\\x86.lnk");
    std::filesystem::remove_all(native);
    EXPECT_TRUE(_wcsicmp(target.c_str(), (native + L"\\app.exe").c_str()) == 0);
}

TEST(WindowsDirectory, IsAnExistingFolderWithoutTrailingBackslash) {
    const std::wstring windows = WindowsDirectory();
    ASSERT_FALSE(windows.empty());
    EXPECT_NE(windows.back(), L'\\');
    EXPECT_TRUE(Win32FileSystem().DirectoryExists(windows));
}

} // namespace
} // namespace torvik::win32
