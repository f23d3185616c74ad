#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "inventory/ProgramLists.h"

namespace torvik {
namespace {

TEST(AddProgramTemp, KeepsTheFirstRecordPerNameAndFileName) {
    ProgramLists lists;
    EXPECT_EQ(lists.AddProgramTemp(L"Foo", L"C:\\A\\", L"FOO.EXE"), 0u);
    EXPECT_EQ(lists.AddProgramTemp(L" foo ", L"D:\\Other\\", L"foo.exe"), 0u);
    ASSERT_EQ(lists.TempProgramList.size(), 1u);
    const TProgramRecord& r = *lists.TempProgramList[0];
    EXPECT_EQ(r.ProgramName, L"Foo");
    EXPECT_EQ(r.TargetExePath, L"C:\\A\\");
    EXPECT_EQ(r.TargetExeFilename, L"FOO.EXE");
}

TEST(AddProgramTemp, SameNameWithAnotherFileIsAnotherRecord) {
    ProgramLists lists;
    lists.AddProgramTemp(L"Foo", L"C:\\A\\", L"foo.exe");
    EXPECT_EQ(lists.AddProgramTemp(L"Foo", L"C:\\A\\", L"foo64.exe"), 1u);
    EXPECT_EQ(lists.TempProgramList.size(), 2u);
}

TEST(AddProgramTemp, OnlyAsciiLettersIgnoreCase) {
    ProgramLists lists;
    lists.AddProgramTemp(L"\u00c9diteur", L"C:\\", L"e.exe");
    lists.AddProgramTemp(L"\u00e9diteur", L"C:\\", L"e.exe");
    EXPECT_EQ(lists.TempProgramList.size(), 2u);
}

TEST(AddProgramTemp, StartsANewRecordTrimmedAndEmpty) {
    ProgramLists lists;
    lists.AddProgramTemp(L"\t Tool \r\n", L" C:\\Tools\\ ", L" tool.exe ");
    const TProgramRecord& r = *lists.TempProgramList.at(0);
    EXPECT_EQ(r.ProgramName, L"Tool");
    EXPECT_EQ(r.TargetExePath, L"C:\\Tools\\");
    EXPECT_EQ(r.TargetExeFilename, L"tool.exe");
    EXPECT_EQ(r.Status, ProgramStatus::New);
    EXPECT_EQ(r.TargetExeVersion1 | r.TargetExeVersion2 | r.TargetExeVersion3 | r.TargetExeVersionB,
              0);
    EXPECT_TRUE(r.TargetExeVersion.empty());
    EXPECT_EQ(r.TargetExeSize, 0);
    EXPECT_EQ(r.TargetExeDateM, 0);
    EXPECT_FALSE(r.FlagSendDetailsToServer);
    EXPECT_FALSE(r.IconNeeded);
}

TEST(GetProgramIdx, FindsTheRecordInItsOwnListByTrimmedLowerCasedKey) {
    ProgramLists lists;
    lists.AddProgramTemp(L"Alpha", L"C:\\", L"a.exe");
    lists.AddProgramTemp(L"Beta", L"C:\\", L"B.exe");
    auto live = std::make_unique<TProgramRecord>();
    live->ProgramName = L"Gamma";
    live->TargetExeFilename = L"g.exe";
    lists.ProgramList.push_back(std::move(live));

    EXPECT_EQ(lists.GetProgramIdxTemp(L"  BETA ", L" b.EXE"), 1u);
    EXPECT_EQ(lists.GetProgramIdxTemp(L"Beta", L"a.exe"), std::nullopt);
    EXPECT_EQ(lists.GetProgramIdxTemp(L"Gamma", L"g.exe"), std::nullopt);
    EXPECT_EQ(lists.GetProgramIdxLive(L"gamma", L"G.EXE"), 0u);
    EXPECT_EQ(lists.GetProgramIdxLive(L"Alpha", L"a.exe"), std::nullopt);
}

// Records what the view was asked to do, and what ProgramList held then.
class RecordingView : public ProgramListViewRefill {
public:
    explicit RecordingView(const ProgramLists& lists) : lists_(lists) {}
    std::vector<std::string> calls;
    std::vector<size_t> liveSizes;
    bool failOnClear = false;

    void BeginUpdate() override { Note("begin"); }
    void ClearItems() override {
        Note("clear");
        if (failOnClear) {
            throw std::runtime_error("clear failed");
        }
    }
    void RefillProgramList() override { Note("refill"); }
    void EndUpdate() override { Note("end"); }

private:
    void Note(const char* what) {
        calls.push_back(what);
        liveSizes.push_back(lists_.ProgramList.size());
    }
    const ProgramLists& lists_;
};

TEST(PublishPrograms, MovesTheRecordsInOrderAndRefillsTheView) {
    ProgramLists lists;
    lists.ProgramList.push_back(std::make_unique<TProgramRecord>());
    lists.AddProgramTemp(L"One", L"C:\\", L"1.exe");
    lists.AddProgramTemp(L"Two", L"C:\\", L"2.exe");
    const TProgramRecord* first = lists.TempProgramList[0].get();
    const TProgramRecord* second = lists.TempProgramList[1].get();

    RecordingView view(lists);
    lists.PublishPrograms(view);

    ASSERT_EQ(lists.ProgramList.size(), 2u);
    EXPECT_EQ(lists.ProgramList[0].get(), first); // the same objects, not copies
    EXPECT_EQ(lists.ProgramList[1].get(), second);
    EXPECT_TRUE(lists.TempProgramList.empty());
    EXPECT_EQ(view.calls, (std::vector<std::string>{"begin", "clear", "refill", "end"}));
    // The view lets go of the old records before they are destroyed, and
    // refills from the new ones.
    EXPECT_EQ(view.liveSizes, (std::vector<size_t>{1, 1, 2, 2}));
}

TEST(PublishPrograms, RefillsAndRedrawsEvenWhenItFails) {
    ProgramLists lists;
    lists.AddProgramTemp(L"One", L"C:\\", L"1.exe");
    RecordingView view(lists);
    view.failOnClear = true;
    EXPECT_THROW(lists.PublishPrograms(view), std::runtime_error);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"begin", "clear", "refill", "end"}));
}

TEST(PublishPrograms, AnEmptyScanEmptiesTheInventory) {
    ProgramLists lists;
    lists.ProgramList.push_back(std::make_unique<TProgramRecord>());
    RecordingView view(lists);
    lists.PublishPrograms(view);
    EXPECT_TRUE(lists.ProgramList.empty());
}

} // namespace
} // namespace torvik
