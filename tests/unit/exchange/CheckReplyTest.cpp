#include <gtest/gtest.h>

#include "common/Error.h"
#include "exchange/CheckReply.h"
#include "fakes/FakeExecutableFacts.h"
#include "fakes/FakeFileSystem.h"
#include "platform/AnsiCodePage.h"

namespace torvik {
namespace {

class RecordingReplyView : public ReplyView {
public:
    std::vector<std::wstring> messages, popups;
    int repaints = 0;
    std::optional<CheckCounters> counters;
    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    void PopupMsg(const std::wstring& text) override { popups.push_back(text); }
    void RepaintProgramList() override { ++repaints; }
    void ShowCounters(const CheckCounters& c) override { counters = c; }
};

class ApplyReplyTest : public ::testing::Test {
protected:
    TProgramRecord& Add(const std::wstring& name, const std::wstring& file,
                        const std::wstring& version = L"1.0.0 build:1") {
        lists.ProgramList.push_back(std::make_unique<TProgramRecord>());
        TProgramRecord& r = *lists.ProgramList.back();
        r.ProgramName = name;
        r.TargetExePath = L"C:\\Apps\\";
        r.TargetExeFilename = file;
        r.TargetExeVersion = version;
        return r;
    }
    std::wstring Apply(const std::vector<std::wstring>& lines) {
        ApplyReply(lines, {lists, false}, cache, view, recheck);
        return recheck;
    }

    ProgramLists lists;
    testing::FakeFileSystem fs;
    testing::FakeExecutableFacts facts;
    Latin1CodePage ansi;
    TCachedLibrary cache{fs, facts, ansi};
    RecordingReplyView view;
    std::wstring recheck = L"from before";
};

TEST_F(ApplyReplyTest, SetsStatusesAndCountsFromTheResults) {
    Add(L"Editor", L"editor.exe");
    Add(L"Viewer", L"viewer.exe");
    Add(L"Mine", L"mine.exe");
    Add(L"Plain", L"plain.exe", L"--");
    Add(L"Unknown", L"unknown.exe");
    TProgramRecord& excluded = Add(L"Excluded", L"excluded.exe");
    excluded.Status = ProgramStatus::Excluded;
    excluded.ServerVersion = L"old";
    excluded.ReceivedNotes = L"old notes";

    const std::wstring recheck = Apply({
        L"[recheck_str]",
        L"  ask again later  ",
        L"[results]",
        // Names are matched ignoring letter case.
        L"EDITOR|Editor.EXE|2.0.0 build:7|00002.00000.00000.00007|http://e.example/|new!|1|1",
        L"Viewer|viewer.exe|1.0.0 build:1|x|http://v.example/||2|0",
        L"Mine|mine.exe|1.0.0 build:1|x|||3|0",
        L"Plain|plain.exe|9.0|x|||1|0",
        L"Excluded|excluded.exe|9.0|x|||1|0",
        L"Viewer|viewer.exe|too|few|fields",
        L"[community_results]",
        L"Editor|editor.exe|00002.00001.00000.00345|3",
        L"editor|EDITOR.exe|00002.00002.00000.00001|1",
        L"[total_points]",
        L"1234567",
    });
    EXPECT_EQ(recheck, L"ask again later");
    const TProgramRecord& editor = *lists.ProgramList[0];
    EXPECT_EQ(editor.Status, ProgramStatus::NewerVersion);
    EXPECT_EQ(editor.ServerVersion, L"2.0.0 build:7");
    EXPECT_EQ(editor.ReceivedUrl, L"http://e.example/");
    EXPECT_EQ(editor.ReceivedComments, L"new!");
    EXPECT_TRUE(editor.IconNeeded);
    EXPECT_EQ(editor.ReceivedNotes, L"3 users have 2.1.0 build:345, 1 user has 2.2.0 build:1");
    EXPECT_EQ(lists.ProgramList[1]->Status, ProgramStatus::UpToDate);
    EXPECT_FALSE(lists.ProgramList[1]->IconNeeded);
    EXPECT_EQ(lists.ProgramList[2]->Status, ProgramStatus::OwnSubmission);
    EXPECT_EQ(lists.ProgramList[3]->Status, ProgramStatus::NoVersionInfo); // even when answered
    EXPECT_EQ(lists.ProgramList[4]->Status, ProgramStatus::NotInDatabase);
    EXPECT_EQ(lists.ProgramList[4]->ServerVersion, L"?");
    // Excluded: not changed, apart from what every reply clears.
    EXPECT_EQ(excluded.Status, ProgramStatus::Excluded);
    EXPECT_EQ(excluded.ServerVersion, L"9.0");
    EXPECT_EQ(excluded.ReceivedNotes, L"");

    ASSERT_TRUE(view.counters);
    EXPECT_EQ(view.counters->newVersions, 1);
    EXPECT_EQ(view.counters->upToDate, 1);
    EXPECT_EQ(view.counters->submissions, 1);
    EXPECT_EQ(view.counters->answered, 3 + 2); // results plus community lines
    EXPECT_EQ(view.counters->total, 1234567);
    EXPECT_EQ(view.repaints, 1);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ApplyReplyTest, AnEmptyReplyChangesNothing) {
    TProgramRecord& r = Add(L"Editor", L"editor.exe");
    r.Status = ProgramStatus::UpToDate;
    r.ServerVersion = L"1.0";
    EXPECT_EQ(Apply({}), L"from before");
    EXPECT_EQ(view.messages, std::vector<std::wstring>{L"No reply from server"});
    EXPECT_EQ(r.Status, ProgramStatus::UpToDate);
    EXPECT_EQ(r.ServerVersion, L"1.0");
    EXPECT_FALSE(view.counters);
}

TEST_F(ApplyReplyTest, TotalPointsMissingOrNotANumberCountAsZero) {
    for (const auto& reply : {std::vector<std::wstring>{L"[results]"},
                              std::vector<std::wstring>{L"[total_points]", L"many"}}) {
        view.counters.reset();
        Apply(reply);
        ASSERT_TRUE(view.counters);
        EXPECT_EQ(view.counters->total, 0);
    }
}

TEST_F(ApplyReplyTest, UnknownStatusesAreNamedInOneMessage) {
    for (const auto* name : {L"A", L"B", L"C", L"D"}) {
        Add(name, std::wstring(name) + L".exe");
    }
    Apply({L"[results]", L"A|A.exe|1|x|||7|0", L"B|B.exe|1|x|||9|0", L"C|C.exe|1|x|||7|0",
           L"D|D.exe|1|x|||0|0"});
    EXPECT_EQ(view.messages, std::vector<std::wstring>{L"Unknown status: 7, 9, 0"});
    EXPECT_EQ(lists.ProgramList[0]->Status, 7);
    EXPECT_EQ(lists.ProgramList[3]->Status, 0);
    EXPECT_EQ(view.counters->answered, 4);
}

TEST_F(ApplyReplyTest, UnreadableFieldsEndTheApplicationKeepingWhatWasSet) {
    Add(L"A", L"a.exe");
    Add(L"B", L"b.exe");
    EXPECT_THROW(Apply({L"[results]", L"A|a.exe|2.0|x|u|c|1|0", L"B|b.exe|2.0|x|u|c|one|0"}),
                 TorvikError);
    EXPECT_EQ(lists.ProgramList[0]->ServerVersion, L"2.0");
    EXPECT_EQ(lists.ProgramList[0]->Status, ProgramStatus::New);
    EXPECT_FALSE(view.counters);

    EXPECT_THROW(Apply({L"[community_results]", L"A|a.exe|2.x|4"}), TorvikError);
}

TEST_F(ApplyReplyTest, DetailsAreMarkedAsSentInTheCachedLibrary) {
    facts.Add(L"C:\\Apps\\cached.exe").date = 45000.0;
    cache.CreateCachedRecord(L"C:\\Apps\\cached.exe");
    cache.CacheModified = false;
    Add(L"Cached", L"cached.exe").FlagSendDetailsToServer = true;
    Add(L"Lost", L"lost.exe").FlagSendDetailsToServer = true;
    Add(L"Sent before", L"before.exe");

    Apply({L"[results]"});
    EXPECT_EQ(cache.GetCachedRecordIdx(L"C:\\Apps\\cached.exe")->AlreadySentToServer, L"1");
    EXPECT_TRUE(cache.CacheModified);
    EXPECT_EQ(view.popups, std::vector<std::wstring>{L"program not found in cache: lost.exe"});
}

TEST(CounterLabel, GroupsDigitsAndEmphasisesCountsAboveZero) {
    EXPECT_EQ(CounterLabelOf(0).text, L"0");
    EXPECT_FALSE(CounterLabelOf(0).emphasised);
    EXPECT_EQ(CounterLabelOf(1234567).text, L"1,234,567");
    EXPECT_TRUE(CounterLabelOf(1).emphasised);
}

} // namespace
} // namespace torvik
