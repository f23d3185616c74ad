#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "common/DateText.h"
#include "common/TextFile.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeTimeZone.h"
#include "ui/TorvikProject.h"

namespace torvik {
namespace {

using testing::FakeControls;
using testing::FakeFileSystem;
using testing::FakeTimeZone;

const std::wstring kFolder = L"C:\\Projects\\";

TEST(ProjectDocumentTextTest, FiltersMutexNamesProjectNamesAndCopies) {
    EXPECT_EQ(ProjectFilter(L"", L".ini"), L"Projects|*.ini");
    EXPECT_EQ(ProjectFilter(L"Lists", L".lst"), L"Lists|*.lst");
    EXPECT_EQ(ProjectFilter(L"Lists|*.lst;*.txt", L".lst"), L"Lists|*.lst;*.txt");

    EXPECT_EQ(ProjectMutexName(L"My Plan"), L"Global\\my plan");
    EXPECT_EQ(ProjectMutexName(L"Global\\Plan"), L"Global\\plan");

    for (const wchar_t* good : {L"plan", L"Plan-2_b~c"}) {
        EXPECT_TRUE(IsValidProjectName(good)) << good;
    }
    for (const wchar_t* bad : {L"", L"plan.ini", L"my plan", L"a/b", L"pl\u00E4n"}) {
        EXPECT_FALSE(IsValidProjectName(bad)) << bad;
    }
    const double when = EncodeDateTime({2026, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(ChangeDetectionFileName(L"C:\\T\\", 412, when),
              L"C:\\T\\intermediate-412_20260304_050607_008.ini");

    EXPECT_EQ(QualifySectionLines({L"[a]", L"1", L"2", L"[b]", L"1"}),
              (std::vector<std::wstring>{L"[a]", L"[a]1", L"[a]2", L"[b]", L"[b]1"}));
}

class FakeOwner : public ProjectOwner {
public:
    FakeControls controls;
    ControlRegistry& Controls() override { return controls; }
    FormPlacement Placement() const override { return {10, 20, 600, 400, false}; }
    void Place(const FormPlacement&) override {}
    WorkArea PrimaryWorkArea() const override { return {1280, 760}; }
};

class TorvikProjectDocumentTest : public ::testing::Test {
protected:
    TorvikProjectDocumentTest() {
        owner.controls.Add(L"edTitle", ControlClass::Edit).text = L"design";
        owner.controls.Add(L"cbDone", ControlClass::CheckBox).checked = true;
        project = std::make_unique<TTorvikProject>(
            owner,
            ProjectServices{fs, zone, [](const std::string& b) { return WidenAscii(b); },
                            [this](const std::wstring& m) { messages.push_back(m); },
                            [this](const std::wstring& m) { errors.push_back(m); }, [](unsigned) {},
                            [] { return 46000.0; }},
            kFolder, L"planner.exe", std::vector<std::wstring>{L"edTitle.Text", L"cbDone.Checked"});
        project->saveFormSize = false;
        DocumentServices documents;
        documents.askYesNoCancel = [this](const std::wstring& text) {
            asked.push_back(text);
            return answer;
        };
        documents.shiftHeld = [this] { return shift; };
        documents.inputBox = [this](const std::wstring&, const std::wstring&) {
            std::optional<std::wstring> name;
            if (!names.empty()) {
                name = names.front();
                names.pop_front();
            }
            return name;
        };
        documents.run = [this](const std::wstring& program, const std::wstring& parameters) {
            started = program + L" " + parameters;
        };
        documents.setCaption = [this](const std::wstring& text) { caption = text; };
        documents.currentDirectory = [] { return kFolder; };
        documents.tempFolder = L"C:\\Temp Files\\";
        documents.processId = 7;
        documents.now = [] { return 46000.5; };
        documents.mutexExists = [this](const std::wstring& name) { return held.count(name) != 0; };
        documents.holdMutex = [this](const std::wstring& name) {
            mine = name;
            return held.insert(name).second;
        };
        documents.releaseMutex = [this] { held.erase(mine); };
        project->SetDocumentServices(std::move(documents));
        fs.AddFolder(kFolder);
        fs.AddFolder(L"C:\\Temp Files\\");
    }

    FakeFileSystem fs;
    FakeTimeZone zone;
    FakeOwner owner;
    std::unique_ptr<TTorvikProject> project;
    std::vector<std::wstring> messages, errors, asked;
    DocumentAnswer answer = DocumentAnswer::Cancel;
    bool shift = false;
    std::deque<std::wstring> names;
    std::wstring started, caption, mine;
    std::set<std::wstring> held;
};

TEST_F(TorvikProjectDocumentTest, AnOpenDocumentAsksBeforeItsChangesAreLost) {
    fs.AddFile(kFolder + L"plan.ini", "[cbDone.Checked]\r\n0\r\n[edTitle.Text]\r\n>Spring\r\n");
    project->SetMultiProject(L"plan");
    EXPECT_EQ(project->ProjectFn(), kFolder + L"plan.ini");
    EXPECT_EQ(caption, L"Project: plan");
    EXPECT_EQ(owner.controls.At(L"edTitle").text, L"Spring");
    EXPECT_FALSE(owner.controls.At(L"cbDone").checked);
    EXPECT_FALSE(project->IsProjectChanged()); // only the order of entries differs
    EXPECT_TRUE(held.count(L"Global\\plan"));

    owner.controls.At(L"edTitle").text = L"Summer";
    EXPECT_TRUE(project->IsProjectChanged());
    EXPECT_TRUE(fs.FindFiles(L"C:\\Temp Files", L"*").empty()) << "the copy is deleted";

    // Cancel with Shift shows the differences and keeps the window open.
    shift = true;
    EXPECT_FALSE(project->HandleFormCloseQuery());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], L"Project plan has changed. Save changes?\r\r(Press Shift-Cancel to "
                        L"examine differences in Winmerge)");
    EXPECT_EQ(started, L"winmerge " + kFolder + L"plan.ini \"C:\\Temp Files\\intermediate.ini\"");

    answer = DocumentAnswer::Yes;
    EXPECT_TRUE(project->ProjectCanClose());
    EXPECT_NE(fs.Content(kFolder + L"plan.ini")->find(">Summer"), std::string::npos);
    EXPECT_FALSE(project->IsProjectChanged());

    // A second window cannot open the same document.
    held.insert(L"Global\\other");
    fs.AddFile(kFolder + L"other.ini");
    project->SetMultiProject(L"other");
    EXPECT_EQ(messages.back(), L"Project other is already open");
    EXPECT_EQ(project->ProjectFn(), kFolder + L"plan.ini");
}

TEST_F(TorvikProjectDocumentTest, NoForgetsTheChangesAndCloseEmptiesTheControls) {
    fs.AddFile(kFolder + L"plan.ini", "[edTitle.Text]\r\n>Spring\r\n[cbDone.Checked]\r\n1\r\n");
    int closed = 0;
    project->onProjectClose = [&] { ++closed; };
    project->SetMultiProject(kFolder + L"plan.ini");
    owner.controls.At(L"edTitle").text = L"Summer";
    answer = DocumentAnswer::No;
    project->CloseProject(false);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(project->ProjectFn(), L"");
    EXPECT_EQ(owner.controls.At(L"edTitle").text, L"");
    EXPECT_TRUE(held.empty());
    EXPECT_NE(fs.Content(kFolder + L"plan.ini")->find(">Spring"), std::string::npos);
}

TEST_F(TorvikProjectDocumentTest, ANewProjectNeedsAValidUnusedName) {
    fs.AddFile(kFolder + L"taken.ini", "[edTitle.Text]\r\n>x\r\n");
    names = {L"with.ext", L"taken", L"fresh"};
    project->NewProject();
    EXPECT_EQ(messages, (std::vector<std::wstring>{
                            L"Please enter a valid project name, without an extension.",
                            L"Project taken already exists"}));
    EXPECT_EQ(project->ProjectFn(), kFolder + L"fresh.ini");
    EXPECT_EQ(owner.controls.At(L"edTitle").text, L""); // no empty.ini: emptied
    EXPECT_TRUE(project->IsProjectChanged());           // not written yet
    project->SaveProjectX();
    EXPECT_TRUE(fs.FileExists(kFolder + L"fresh.ini"));
    EXPECT_TRUE(errors.empty());
}

TEST_F(TorvikProjectDocumentTest, ASessionTakesInTheOldFileAndSavesOnClose) {
    fs.AddFile(kFolder + L"planner.Session.ini",
               "[Form Position and Size]\r\n1,2,300,200,Normal\r\n");
    fs.AddFile(kFolder + L"old.ini", "[edTitle.Text]\r\n>Kept\r\n");
    project->SetSessionProject(kFolder + L"old.ini");
    EXPECT_FALSE(fs.FileExists(kFolder + L"old.ini"));
    EXPECT_EQ(owner.controls.At(L"edTitle").text, L"Kept");
    EXPECT_TRUE(owner.controls.At(L"cbDone").checked); // a session keeps defaults

    owner.controls.At(L"edTitle").text = L"Changed";
    EXPECT_TRUE(project->HandleFormCloseQuery());
    const auto lines =
        SplitTextLines(DecodeTextFile(*fs.Content(kFolder + L"planner.Session.ini"), nullptr));
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"[Form Position and Size]", L"1,2,300,200,Normal",
                                                L"[edTitle.Text]", L">Changed", L"[cbDone.Checked]",
                                                L"1"}));
    EXPECT_TRUE(asked.empty());
}

} // namespace
} // namespace torvik
