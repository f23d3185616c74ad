#include <gtest/gtest.h>

#include "fakes/AppFixture.h"
#include "inventory/SettingsTransfer.h"

namespace torvik {
namespace {

using testing::AppFixture;
using testing::ProcessExited;

constexpr const wchar_t* kSrc = L"C:\\Program Files (x86)\\Torvik Software\\";
constexpr const wchar_t* kDst = L"C:\\users\\joe\\AppData\\Local\\Torvik Software\\";

struct TransferFixture : AppFixture {
    TransferFixture() {
        RunFrom(kInstalledExe, {L"is_admin"});
        fs.AddFile(std::wstring(kSrc) + L"updater.ini", "settings");
    }
    void Transfer() {
        SettingsTransfer transfer(Folders(), [] { return WindowHandle{77}; });
        transfer.TransferSettingsFromProgramFilesToLocalSettings();
    }
};

TEST(SettingsTransfer, CandidatesAreASubstringTest) {
    struct Case {
        const wchar_t* name;
        bool candidate;
    };
    const Case cases[] = {
        {L"updater.ini", true},        {L"updater.txt.bak", true}, {L"UPDATER_CACHE.DB", true},
        {L"x.positions", true},        {L"alerts.log", true},      {L"bugreport.txt", false},
        {L"old_BugReport.TXT", false}, {L"updater.exe", false},    {L"readme", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SettingsTransfer::IsCandidate(c.name), c.candidate) << c.name;
    }
}

TEST(SettingsTransfer, MovesCandidatesToLocalApplicationData) {
    TransferFixture f;
    f.fs.AddFile(std::wstring(kSrc) + L"updater.txt.bak", "bak");
    f.fs.AddFile(std::wstring(kSrc) + L"bugreport.txt", "bug");
    f.fs.AddFile(std::wstring(kSrc) + L".roaming");
    f.Transfer();

    EXPECT_EQ(f.fs.Content(std::wstring(kDst) + L"updater.ini"), "settings");
    EXPECT_EQ(f.fs.Content(std::wstring(kDst) + L"updater.txt.bak"), "bak");
    EXPECT_FALSE(f.fs.FileExists(std::wstring(kSrc) + L"updater.ini"));
    EXPECT_TRUE(f.fs.FileExists(std::wstring(kSrc) + L"bugreport.txt"));
    EXPECT_TRUE(f.fs.FileExists(std::wstring(kSrc) + L"updater.exe"));
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0],
              std::wstring(L"The following files will be transferred from ") + kSrc + L"\r\nto: " +
                  kDst + L"\r\nupdater.ini\r\nupdater.txt.bak\r\n");
    EXPECT_EQ(f.fs.CurrentDirectory(), kDst);
}

TEST(SettingsTransfer, RunsOncePerProcess) {
    TransferFixture f;
    SettingsTransfer transfer(f.Folders(), nullptr);
    transfer.TransferSettingsFromProgramFilesToLocalSettings();
    f.fs.AddFile(std::wstring(kSrc) + L"late.ini", "x");
    transfer.TransferSettingsFromProgramFilesToLocalSettings();
    EXPECT_TRUE(f.fs.FileExists(std::wstring(kSrc) + L"late.ini"));
}

TEST(SettingsTransfer, AsksBeforeOverwriting) {
    TransferFixture f;
    f.fs.AddFile(std::wstring(kSrc) + L"b.log", "new log");
    f.fs.AddFile(std::wstring(kDst) + L"b.log", "old log");
    f.fs.AddFile(std::wstring(kDst) + L"updater.ini", "old settings");
    // Files come in name order from the fake: b.log first, then updater.ini.
    f.dialogs.answers = {false, true};
    f.Transfer();

    ASSERT_EQ(f.dialogs.questions.size(), 2u);
    EXPECT_EQ(f.dialogs.questions[0], std::wstring(L"Overwrite destination file ") + kDst +
                                          L"b.log? (already exists in " + kDst + L")");
    EXPECT_EQ(f.fs.Content(std::wstring(kDst) + L"b.log"), "old log");
    EXPECT_TRUE(f.fs.FileExists(std::wstring(kSrc) + L"b.log"));
    EXPECT_EQ(f.fs.Content(std::wstring(kDst) + L"updater.ini"), "settings");
}

TEST(SettingsTransfer, FailedCopyKeepsTheOriginal) {
    TransferFixture f;
    f.fs.FailCopiesTo(std::wstring(kDst) + L"updater.ini");
    f.Transfer();
    EXPECT_EQ(f.fs.Content(std::wstring(kSrc) + L"updater.ini"), "settings");
    EXPECT_EQ(f.dialogs.messages.back(),
              std::wstring(L"Could not move file ") + kSrc + L"updater.ini");
}

TEST(SettingsTransfer, WithoutAdminRightsRestartsElevatedAndEnds) {
    for (const bool ok : {true, false}) {
        TransferFixture f;
        f.RunFrom(AppFixture::kInstalledExe);
        f.dialogs.answers = {ok};
        try {
            f.Transfer();
            FAIL() << "the process must end";
        } catch (const ProcessExited& e) {
            EXPECT_EQ(e.code, 0u);
        }
        EXPECT_EQ(f.dialogs.questions.at(0),
                  L"The program requires administrator privileges.\r\n"
                  L"Click OK to restart the program as an administrator.");
        ASSERT_EQ(f.processes.elevatedStarts.size(), ok ? 1u : 0u);
        if (ok) {
            EXPECT_EQ(f.processes.elevatedStarts[0].exe, AppFixture::kInstalledExe);
            EXPECT_EQ(f.processes.elevatedStarts[0].owner, WindowHandle{77});
        }
        EXPECT_TRUE(f.fs.FileExists(std::wstring(kSrc) + L"updater.ini"));
    }
}

TEST(SettingsTransfer, NothingHappensOutsideProgramFilesOrWithoutCandidates) {
    AppFixture portable;
    portable.RunFrom(L"C:\\Tools\\X\\updater.exe");
    portable.fs.AddFile(L"C:\\Tools\\X\\updater.ini");
    SettingsTransfer(portable.Folders(), nullptr).TransferSettingsFromProgramFilesToLocalSettings();
    EXPECT_TRUE(portable.fs.FileExists(L"C:\\Tools\\X\\updater.ini"));
    EXPECT_TRUE(portable.dialogs.messages.empty());
    EXPECT_EQ(portable.fs.CurrentDirectory(), L"C:\\Tools\\X\\");

    AppFixture clean;
    clean.RunFrom(AppFixture::kInstalledExe); // not elevated, but nothing to move
    SettingsTransfer(clean.Folders(), nullptr).TransferSettingsFromProgramFilesToLocalSettings();
    EXPECT_TRUE(clean.dialogs.questions.empty());
}

} // namespace
} // namespace torvik
