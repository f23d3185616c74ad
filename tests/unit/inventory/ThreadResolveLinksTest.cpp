#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "common/ProcessFlags.h"
#include "fakes/FakeExecutableFacts.h"
#include "fakes/FakeShellLinks.h"
#include "inventory/ShellLinkResolve.h"
#include "inventory/ThreadResolveLinks.h"
#include "platform/posix/PosixFileSystem.h"

namespace torvik {
namespace {

using testing::FakeExecutableFacts;
using testing::FakeShellLinks;
using testing::TempDir;

const std::wstring kMenu = L"C:\\Users\\u\\Start Menu\\Programs\\";

TFileType Shortcut(const std::wstring& name, const std::wstring& folder = kMenu) {
    TFileType f;
    f.FileName = name;
    f.Path = folder;
    return f;
}

class ResolveLinksTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppClosing = false;
        CancelRequested = false;
        facts.Add(L"C:\\Windows\\System32\\drivers\\snd.sys").description =
            L"  Fixture Sound Driver ";
    }
    void TearDown() override {
        AppClosing = false;
        CancelRequested = false;
    }
    FakeShellLinks links;
    PosixFileSystem fs;
    FakeExecutableFacts facts;
    ResolveLinksContext context{links, fs, facts, L"C:\\Windows"};
};

TEST_F(ResolveLinksTest, FiltersShortcutsByNameTargetAndArguments) {
    struct Case {
        std::wstring file, target, arguments;
        std::wstring name; // empty: the shortcut is dropped
    };
    const Case cases[] = {
        {L"Foo.lnk", L"C:\\Program Files\\Foo\\foo.exe", L"", L"Foo"},
        {L"Shortcut to Foo.lnk", L"C:\\Foo\\foo.exe", L"", L" Foo"},
        {L"Foo - Shortcut.lnk", L"C:\\Foo\\foo.exe", L"", L"Foo"},
        {L"SHORTCUT TO Bar - SHORTCUT.LNK", L"C:\\Bar\\bar.exe", L"", L" Bar"},
        {L"Uninstall Foo.lnk", L"C:\\Foo\\foo.exe", L"", L""},
        {L"Foo Removal.lnk", L"C:\\Foo\\Uninstall.exe", L"", L""},
        {L"Foo (Safe).lnk", L"C:\\Foo\\foo.exe", L"-safe-mode", L""},
        {L"Foo DX.lnk", L"C:\\Foo\\foo.exe", L"/x -setDX", L""},
        {L"Foo GL.lnk", L"C:\\Foo\\foo.exe", L"-setOGL", L""},
        {L"Foo Odd.lnk", L"C:\\Foo\\foo.exe", L"-SAFE-MODE", L"Foo Odd"}, // exact case only
        {L"Windows Media Player.lnk", L"C:\\Program Files\\WMP\\wmplayer.exe", L"", L""},
        {L"Internet Explorer (No Add-ons).lnk", L"C:\\IE\\iexplore.exe", L"", L""},
        {L"Outlook Express.lnk", L"C:\\OE\\msimn.exe", L"", L""},
        {L"Web Site.lnk", L"C:\\Foo\\site.url", L"", L""},
        {L"Help.lnk", L"C:\\Foo\\help.chm", L"", L""},
        {L"Read Me.lnk", L"C:\\Foo\\readme.txt", L"", L""},
        {L"Installer.lnk", L"C:\\Games\\MySetup.exe", L"", L""},
        {L"Setup Folder.lnk", L"C:\\setup.exe files\\tool.exe", L"", L""},
        {L"Notepad.lnk", L"C:\\WINDOWS\\notepad.exe", L"", L""},
        {L"Console.lnk", L"C:\\Tools\\mmc.exe", L"", L""},
        {L"Run.lnk", L"C:\\Tools\\rundll32.exe", L"", L""},
        {L"Help Viewer.lnk", L"C:\\Tools\\hh.exe", L"", L""},
        {L"Accessory.lnk", L"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe", L"", L""},
        {L"Docs.lnk", L"C:\\Tools\\dexplore.exe", L"", L""},
        {L"Donate.lnk", L"C:\\Tools\\Donation.exe", L"", L""},
        {L"Safe.lnk", L"C:\\Tools (Safe Mode)\\app.exe", L"", L""},
        {L"Remove.lnk", L"C:\\Tools\\Remove the toolbar.exe", L"", L""},
        {L"Old Uninstaller.lnk", L"C:\\Tools\\uninst.exe", L"", L""},
        {L"Old Uninstaller 2.lnk", L"C:\\Tools\\unins000.exe", L"", L""},
        {L"Sound.lnk", L"C:\\Windows\\System32\\drivers\\snd.sys", L"",
         L"Driver: Fixture Sound Driver"},
        {L"Other Driver.lnk", L"D:\\Vendor\\Drivers\\usb.sys", L"", L"Driver: usb.sys"},
        {L"Broken.lnk", L"", L"", L""},
    };
    for (const auto& c : cases) {
        if (c.file != L"Broken.lnk") {
            links.Add(kMenu + c.file, c.target, c.arguments);
        }
    }
    for (const auto& c : cases) {
        const auto record = ResolveShortcut(context, Shortcut(c.file));
        if (c.name.empty()) {
            EXPECT_FALSE(record.has_value()) << c.file;
            continue;
        }
        ASSERT_TRUE(record.has_value()) << c.file;
        EXPECT_EQ(record->LinkName, c.name) << c.file;
        EXPECT_EQ(record->TargetExePath + record->TargetExeFile, c.target);
        EXPECT_EQ(record->TargetExePath.back(), L'\\');
        EXPECT_TRUE(record->StartMenuPath.empty());
        EXPECT_TRUE(record->TargetExeVersion.empty());
    }
    // Dropped by name before the shortcut is ever opened.
    EXPECT_EQ(links.reads.count(LowerCaseAscii(kMenu + L"Uninstall Foo.lnk")), 0u);
}

TEST_F(ResolveLinksTest, AdvertisedShortcutsAreAskedOfWindowsInstaller) {
    const std::wstring icon = L"C:\\Windows\\Installer\\{90120000-0030}\\wordicon.exe";
    links.Add(kMenu + L"Word.lnk", icon);
    links.msiTargets[LowerCaseAscii(kMenu + L"Word.lnk")] = L"C:\\Office\\WINWORD.EXE";
    links.Add(kMenu + L"Not Installed.lnk", icon); // Windows Installer gives the icon back
    const auto word = ResolveShortcut(context, Shortcut(L"Word.lnk"));
    ASSERT_TRUE(word.has_value());
    EXPECT_EQ(word->TargetExeFile, L"WINWORD.EXE");
    EXPECT_FALSE(ResolveShortcut(context, Shortcut(L"Not Installed.lnk")).has_value());
}

TEST_F(ResolveLinksTest, AnUnknownWindowsFolderDropsNothing) {
    links.Add(kMenu + L"Foo.lnk", L"C:\\Program Files\\Foo\\foo.exe");
    const ResolveLinksContext noWindows{links, fs, facts, L""};
    EXPECT_TRUE(ResolveShortcut(noWindows, Shortcut(L"Foo.lnk")).has_value());
}

TEST_F(ResolveLinksTest, FilesOtherThanShortcutsAreTheirOwnTargets) {
    const auto record = ResolveShortcut(context, Shortcut(L"Tool.exe", L"D:\\Portable\\"));
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->LinkName, L"Tool.exe");
    EXPECT_EQ(record->TargetExePath, L"D:\\Portable\\");
    EXPECT_TRUE(links.reads.empty());
}

TEST(ResolveLink, TargetsUnderX86FoldersFallBackToTheNativeFolderWhenOnlyThatExists) {
    TempDir dir;
    PosixFileSystem fs;
    FakeShellLinks links;
    dir.Write("Program Files/App/app.exe");
    dir.Write("Program Files (x86)/Both/both.exe");
    dir.Write("Program Files/Both/both.exe");
    const std::wstring x86 = dir.Path("Program Files (x86)/");
    links.Add(L"c:\\a.lnk", x86 + L"App\\app.exe", L"-x");
    links.Add(L"c:\\b.lnk", x86 + L"Both\\both.exe");
    links.Add(L"c:\\c.lnk", x86 + L"Gone\\gone.exe");
    EXPECT_EQ(ResolveLink(links, fs, L"c:\\a.lnk"), dir.Path("Program Files/App/app.exe"));
    EXPECT_EQ(ResolveLink_Params(links, L"c:\\a.lnk"), L"-x");
    EXPECT_EQ(ResolveLink(links, fs, L"c:\\b.lnk"), x86 + L"Both\\both.exe");
    EXPECT_EQ(ResolveLink(links, fs, L"c:\\c.lnk"), x86 + L"Gone\\gone.exe");
    EXPECT_THROW(ResolveLink(links, fs, L"c:\\missing.lnk"), TorvikError);
    EXPECT_THROW(ResolveLink_Params(links, L"c:\\missing.lnk"), TorvikError);
}

TEST_F(ResolveLinksTest, RunKeepsInputOrderAndStopsOnCancel) {
    std::vector<TFileType> files;
    for (const wchar_t* name : {L"B.lnk", L"Setup.lnk", L"A.lnk", L"C.lnk"}) {
        files.push_back(Shortcut(name));
    }
    links.Add(kMenu + L"B.lnk", L"C:\\B\\b.exe");
    links.Add(kMenu + L"Setup.lnk", L"C:\\S\\setup.exe");
    links.Add(kMenu + L"A.lnk", L"C:\\A\\a.exe");
    links.Add(kMenu + L"C.lnk", L"C:\\C\\c.exe");
    TThreadResolveLinks run(files, context);
    run.LinkResultList.push_back(TTempRecord{L"stale", L"", L"", L"", L""});
    run.Execute();
    EXPECT_TRUE(run._finished);
    std::vector<std::wstring> names;
    for (const auto& r : run.LinkResultList) {
        names.push_back(r.LinkName);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"B", L"A", L"C"}));

    CancelRequested = true;
    run.Execute();
    EXPECT_FALSE(run._finished);
    EXPECT_EQ(run.LinkResultList.size(), 1u);
    CancelRequested = false;
    AppClosing = true;
    run.Execute();
    EXPECT_FALSE(run._finished);
}

} // namespace
} // namespace torvik
