#include <gtest/gtest.h>

#include "common/Error.h"
#include "common/TextFile.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeTimeZone.h"
#include "platform/AnsiCodePage.h"
#include "ui/MainWindowSettings.h"
#include "ui/TorvikProject.h"

namespace torvik {
namespace {

using testing::AddMainWindowControls;
using testing::FakeControls;
using testing::FakeFileSystem;
using testing::FakeTimeZone;

constexpr uint64_t kTicksPerSecond = 10000000;
constexpr uint64_t kSomeDay = 134000000000000000ULL; // a day in 2025, as a FILETIME
const std::wstring kFolder = L"C:\\Users\\u\\AppData\\Local\\Torvik Software\\";
const std::wstring kSettings = kFolder + L"updater.ini";
const std::wstring kSession = kFolder + L"updater.Session.ini";

class FakeOwner : public ProjectOwner {
public:
    FakeControls controls;
    FormPlacement placement{30, 40, 900, 700, false};
    WorkArea area{1280, 760};
    int placeCalls = 0;

    ControlRegistry& Controls() override { return controls; }
    FormPlacement Placement() const override { return placement; }
    void Place(const FormPlacement& p) override {
        ++placeCalls;
        placement = p;
    }
    WorkArea PrimaryWorkArea() const override { return area; }
};

class TorvikProjectTest : public ::testing::Test {
protected:
    TorvikProjectTest() {
        fs.SetClock(kSomeDay);
        fs.AddFolder(kFolder);
    }

    ProjectServices Services() {
        return {fs,
                zone,
                [this](const std::string& bytes) { return ansi.ToText(bytes); },
                [this](const std::wstring& m) { messages.push_back(m); },
                [this](const std::wstring& m) { errors.push_back(m); },
                [this](unsigned ms) { waitedMs += ms; },
                [] { return 46000.0; }};
    }
    // A project over a window with the main window's controls at their
    // design defaults.
    std::unique_ptr<TTorvikProject> Open(FakeOwner& owner, bool show = true) {
        AddMainWindowControls(owner.controls);
        auto project = std::make_unique<TTorvikProject>(owner, Services(), kFolder, L"updater.exe",
                                                        MainWindowPropertiesList());
        if (show) {
            project->HandleFormShow();
        }
        return project;
    }
    std::vector<std::wstring> FileLines(const std::wstring& path) {
        return SplitTextLines(
            DecodeTextFile(fs.Content(path).value_or(""),
                           [this](const std::string& b) { return ansi.ToText(b); }));
    }

    FakeFileSystem fs;
    FakeTimeZone zone;
    Latin1CodePage ansi;
    std::vector<std::wstring> messages, errors;
    unsigned waitedMs = 0;
};

TEST(ProjectFileNamesTest, AreNamedAfterTheExecutable) {
    const auto names = ProjectFileNamesFor(L"C:\\s\\", L"Torvik.Updater.EXE");
    EXPECT_EQ(names.settings, L"C:\\s\\Torvik.Updater.ini");
    EXPECT_EQ(names.session, L"C:\\s\\Torvik.Updater.Session.ini");
    EXPECT_EQ(names.legacyPositions, L"C:\\s\\torvik.updater.positions.ini");
}

TEST_F(TorvikProjectTest, AFirstStartKeepsTheDefaultsAndWritesNothingUntilSaved) {
    FakeOwner owner;
    int defaultsFired = 0;
    AddMainWindowControls(owner.controls);
    TTorvikProject project(owner, Services(), kFolder, L"updater.exe", MainWindowPropertiesList());
    project.onSetProjectDefaultValues = [&] { ++defaultsFired; };
    project.HandleFormShow();

    EXPECT_EQ(defaultsFired, 1);
    EXPECT_TRUE(owner.controls.At(L"cbAutoCheck").checked);
    EXPECT_TRUE(owner.controls.At(L"cbFirstRun").checked);
    EXPECT_FALSE(fs.FileExists(kSettings));
    // No stored place: the work area, not maximized.
    EXPECT_EQ(owner.placement, (FormPlacement{0, 0, 1280, 760, false}));
    EXPECT_EQ(project.ProjectFn(), kSettings);
    EXPECT_EQ(project.ProjectName(), L"updater");

    // Closing stores only the window's place.
    project.HandleFormCloseQuery();
    EXPECT_FALSE(fs.FileExists(kSettings));
    EXPECT_EQ(FileLines(kSession),
              (std::vector<std::wstring>{L"[Form Position and Size]", L"0,0,1280,760,Normal"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(TorvikProjectTest, SavedValuesComeBackInTheNextRun) {
    {
        FakeOwner owner;
        auto project = Open(owner);
        owner.controls.At(L"edUserName").text = L"Ada";
        owner.controls.At(L"cbAutoCheck").checked = false;
        owner.controls.At(L"lvCustomPrograms").items = {
            {false, false, L"Portable Tool", {L"D:\\tools\\tool.exe"}}};
        project->SaveSettingsX();
    }
    const std::string bytes = fs.Content(kSettings).value();
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    const auto lines = FileLines(kSettings);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], L"[lvCustomPrograms.Items]");
    EXPECT_EQ(lines[1], L"><checked>0<caption>Portable Tool<FF>D:\\tools\\tool.exe");

    FakeOwner next;
    auto project = Open(next);
    EXPECT_EQ(next.controls.At(L"edUserName").text, L"Ada");
    EXPECT_FALSE(next.controls.At(L"cbAutoCheck").checked);
    EXPECT_TRUE(next.controls.At(L"cbFirstRun").checked);
    ASSERT_EQ(next.controls.At(L"lvCustomPrograms").items.size(), 1u);
    EXPECT_EQ(next.controls.At(L"lvCustomPrograms").items[0].subItems,
              std::vector<std::wstring>{L"D:\\tools\\tool.exe"});
    EXPECT_TRUE(errors.empty());
}

TEST_F(TorvikProjectTest, AnEntryMissingFromTheFileKeepsTheDefault) {
    // Written by an older version in its ANSI code page, without a mark.
    fs.AddFile(kSettings, "[edUserName.Text]\r\n>Jos\xE9\r\n");
    FakeOwner owner;
    auto project = Open(owner);
    EXPECT_EQ(owner.controls.At(L"edUserName").text, L"Jos\u00E9");
    EXPECT_TRUE(owner.controls.At(L"cbAutoCheck").checked);
    EXPECT_TRUE(owner.controls.At(L"cbFirstRun").checked);
}

TEST_F(TorvikProjectTest, AFileThatCannotBeReadIsNeverOverwritten) {
    fs.AddFile(kSettings, "\xEF\xBB\xBF[edUserName.Text]\r\n>Ada\r\n");
    fs.SetUnreadable(true);
    FakeOwner owner;
    auto project = Open(owner);
    fs.SetUnreadable(false);
    EXPECT_EQ(owner.controls.At(L"edUserName").text, L"");
    EXPECT_EQ(waitedMs, 10u * 200u); // eleven attempts

    project->SaveSettingsX();
    EXPECT_EQ(FileLines(kSettings), (std::vector<std::wstring>{L"[edUserName.Text]", L">Ada"}));
    EXPECT_EQ(errors, std::vector<std::wstring>{L"Saving to " + kSettings + L" FAILED"});
}

TEST_F(TorvikProjectTest, AWriteThatFailsIsReported) {
    FakeOwner owner;
    auto project = Open(owner);
    fs.SetReadOnly(true);
    project->SaveSettingsX();
    EXPECT_EQ(errors, std::vector<std::wstring>{L"Saving to " + kSettings + L" FAILED"});
}

TEST_F(TorvikProjectTest, AMissingControlIsNamedOnLoadAndOnSave) {
    fs.AddFile(kSettings, "[cbAutoCheck.Checked]\r\n0\r\n");
    FakeOwner owner;
    owner.controls.Add(L"cbAutoCheck", ControlClass::CheckBox).checked = true;
    TTorvikProject project(owner, Services(), kFolder, L"updater.exe",
                           {L"cbAutoCheck.Checked", L"edGone.Text"});
    project.HandleFormShow();
    project.HandleFormShow(); // later shows change nothing
    EXPECT_FALSE(owner.controls.At(L"cbAutoCheck").checked);
    project.SaveSettingsX();
    EXPECT_EQ(messages, (std::vector<std::wstring>{L"Component edGone not found",
                                                   L"Component edGone not found"}));
    project.SetSingleProject();
    EXPECT_EQ(messages.back(), L"setSingleProjectInitialized");
}

TEST_F(TorvikProjectTest, ModifiedExternallyIgnoresAnHoursClockChange) {
    FakeOwner owner;
    auto project = Open(owner);
    project->SaveSettingsX();
    EXPECT_FALSE(project->ProjectModifiedExternally());
    const struct {
        int64_t shiftSeconds;
        bool modified;
    } cases[] = {{1, false},    {-1, false},    {2, true},     {3598, true}, {3599, false},
                 {3600, false}, {-3600, false}, {3601, false}, {3602, true}, {7200, true}};
    for (const auto& c : cases) {
        fs.SetWriteTime(kSettings,
                        kSomeDay + static_cast<uint64_t>(c.shiftSeconds *
                                                         static_cast<int64_t>(kTicksPerSecond)));
        EXPECT_EQ(project->ProjectModifiedExternally(), c.modified) << c.shiftSeconds;
    }
    fs.RemoveFile(kSettings);
    EXPECT_FALSE(project->ProjectModifiedExternally());
    EXPECT_FALSE(project->ReloadProject());
    EXPECT_EQ(project->LastLoadedFileDt(), 0);
}

TEST_F(TorvikProjectTest, ReloadAppliesTheFileAgain) {
    FakeOwner owner;
    auto project = Open(owner);
    project->SaveSettingsX();
    owner.controls.At(L"edUserName").text = L"changed";
    fs.AddFile(kSettings, "\xEF\xBB\xBF[edUserName.Text]\r\n>From disk\r\n");
    EXPECT_TRUE(project->ReloadProject());
    EXPECT_EQ(owner.controls.At(L"edUserName").text, L"From disk");
}

TEST_F(TorvikProjectTest, TheWindowsPlaceIsStoredAndRestored) {
    const WorkArea area{1280, 760};
    const struct {
        FormPlacement closed;
        std::wstring stored; // empty: nothing stored, the previous value stays
        FormPlacement reopened;
    } cases[] = {
        {{30, 40, 900, 700, false}, L"30,40,900,700,Normal", {30, 40, 900, 700, false}},
        // A maximized window keeps a centred rectangle for when it is restored.
        {{-8, -8, 1296, 776, true}, L"80,95,1120,570,Max", {0, 0, 1280, 760, true}},
        // Dragged far off the left edge: the previous place stays.
        {{-150, 40, 900, 700, false}, L"", {5, 6, 700, 500, false}},
    };
    for (const auto& c : cases) {
        fs.AddFile(kSession, "[Form Position and Size]\r\n5,6,700,500,Normal\r\n");
        FakeOwner owner;
        auto project = Open(owner);
        owner.placement = c.closed;
        owner.area = area;
        project->HandleFormCloseQuery();
        const auto lines = FileLines(kSession);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1], c.stored.empty() ? L"5,6,700,500,Normal" : c.stored);

        FakeOwner next;
        auto reopened = Open(next);
        EXPECT_EQ(next.placement, c.reopened) << lines[1];
    }
}

TEST_F(TorvikProjectTest, ALegacyPositionsFileIsMergedOnceAndRemoved) {
    const std::wstring legacy = kFolder + L"updater.positions.ini";
    fs.AddFile(legacy, "  12,34,800,600,Normal\r\n");
    fs.AddFile(kSession, "\xEF\xBB\xBF[Other]\r\nkept\r\n");
    FakeOwner owner;
    auto project = Open(owner);
    EXPECT_FALSE(fs.FileExists(legacy));
    EXPECT_EQ(FileLines(kSession),
              (std::vector<std::wstring>{L"[Form Position and Size]", L"12,34,800,600,Normal",
                                         L"[Other]", L"kept"}));
    EXPECT_EQ(owner.placement, (FormPlacement{12, 34, 800, 600, false}));

    // An unreadable legacy file stops the start with its name.
    fs.AddFile(legacy, "1,2,3,4,Normal");
    fs.SetUnreadable(true);
    FakeOwner blocked;
    try {
        Open(blocked, false);
        ADD_FAILURE() << "no error";
    } catch (const TorvikError& e) {
        EXPECT_EQ(e.Message(), L"ReadFromFile_s_5x failed: " + legacy);
    }
    EXPECT_TRUE(fs.FileExists(legacy));
}

TEST_F(TorvikProjectTest, TheSessionFilesNameIsBroughtToItsLetterCase) {
    fs.AddFile(kFolder + L"UPDATER.SESSION.INI",
               "[Form Position and Size]\r\n1,2,640,480,Normal\r\n");
    FakeOwner owner;
    auto project = Open(owner);
    EXPECT_EQ(fs.FindEntry(kSession)->name, L"updater.Session.ini");
    EXPECT_FALSE(fs.FileExists(kSession + L".temp"));
    EXPECT_EQ(owner.placement, (FormPlacement{1, 2, 640, 480, false}));
}

} // namespace
} // namespace torvik
