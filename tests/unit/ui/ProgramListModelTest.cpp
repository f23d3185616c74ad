#include <gtest/gtest.h>

#include "ui/ProgramListModel.h"

namespace torvik {
namespace {

TEST(ProgramListModel, ShowsEveryPublishedProgramButThoseWhoseExecutableIsMissing) {
    ProgramLists lists;
    const struct {
        const wchar_t* name;
        int32_t status;
    } programs[] = {
        {L"Editor", ProgramStatus::New},
        {L"Gone", ProgramStatus::Missing},
        {L"Excluded", -1},
        {L"Also gone", ProgramStatus::Missing},
        {L"Viewer", 2},
    };
    for (const auto& p : programs) {
        const size_t i =
            lists.AddProgramTemp(p.name, L"C:\\Tools\\", std::wstring(p.name) + L".exe");
        lists.TempProgramList[i]->Status = p.status;
        lists.TempProgramList[i]->TargetExeVersion = L"1.0.0 build:1";
    }
    ProgramListModel model;
    model.Refill(lists.TempProgramList);
    ASSERT_EQ(model.Count(), 3u);
    EXPECT_EQ(model.Row(0).ProgramName, L"Editor");
    EXPECT_EQ(model.Row(1).ProgramName, L"Excluded");
    EXPECT_EQ(model.Row(2).ProgramName, L"Viewer");
    EXPECT_EQ(model.CellText(2, ProgramListModel::kProgram), L"Viewer");
    EXPECT_EQ(model.CellText(2, ProgramListModel::kVersion), L"1.0.0 build:1");
    EXPECT_EQ(model.CellText(2, ProgramListModel::kFile), L"C:\\Tools\\Viewer.exe");
    EXPECT_EQ(model.CellText(3, ProgramListModel::kProgram), L"");
    EXPECT_EQ(model.CellText(0, ProgramListModel::kColumnCount), L"");
    EXPECT_THROW(model.Row(3), std::out_of_range);

    model.Clear();
    EXPECT_EQ(model.Count(), 0u);
}

TEST(ProgramListModel, TheDatabaseStatusFollowsTheCheck) {
    ProgramListModel model;
    model.SetRecheckText(L"Not in the database yet");
    const struct {
        int32_t status;
        const wchar_t* text;
    } cases[] = {
        {ProgramStatus::NewerVersion, L"2.0.0 build:7"},
        {ProgramStatus::UpToDate, L"up to date"},
        {ProgramStatus::OwnSubmission, L"thank you!"},
        {ProgramStatus::NotInDatabase, L"Not in the database yet"},
        {ProgramStatus::NoVersionInfo, L""},
        {ProgramStatus::New, L""},
        {ProgramStatus::Excluded, L""},
        {7, L""},
    };
    for (const auto& c : cases) {
        TProgramRecord record;
        record.Status = c.status;
        record.ServerVersion = L"2.0.0 build:7";
        EXPECT_EQ(model.StatusText(record), c.text) << c.status;
    }
}

} // namespace
} // namespace torvik
