#include <gtest/gtest.h>

#include "server/ProgramIds.h"
#include "server/ReportView.h"

namespace torvik::server {
namespace {

std::vector<VersionCount> Counts(const ReportView& view, ProgramId program) {
    const auto versions = view.Versions(program);
    return {versions.begin(), versions.end()};
}

TEST(ProgramIds, NumbersKeysOnceAndKeysIgnoreAsciiCase) {
    ProgramIds ids;
    EXPECT_FALSE(ids.Find(ProgramKey("Demo App", "app.exe")));
    const ProgramId app = ids.Intern(ProgramKey("Demo App", "app.exe"));
    const ProgramId tool = ids.Intern(ProgramKey("Demo App", "tool.exe"));
    EXPECT_NE(app, tool);
    EXPECT_EQ(ids.Intern(ProgramKey("DEMO APP", "APP.EXE")), app);
    EXPECT_EQ(ids.Find(ProgramKey("demo app", "app.exe")), app);
    // Only ASCII letters are lowered.
    EXPECT_FALSE(ids.Find(ProgramKey("\xC3\x89 Demo App", "app.exe")));
    EXPECT_EQ(ids.Size(), 2u);
}

TEST(ReportView, PutReplacesReportsAndKeepsTheVersionCounts) {
    ReportView view;
    const PackedVersion v1 = PackVersion({1, 0, 0, 0}), v2 = PackVersion({2, 0, 0, 0});
    view.Put("inst-1", {{7, v1, 11}, {3, v1, 12}});
    view.Put("inst-2", {{7, v1, 21}});
    EXPECT_EQ(Counts(view, 7), (std::vector<VersionCount>{{v1, 2}}));
    EXPECT_EQ(Counts(view, 3), (std::vector<VersionCount>{{v1, 1}}));
    EXPECT_TRUE(Counts(view, 99).empty());

    // A changed report moves its installation to the new version; of two
    // reports of one program in one check, the last counts.
    view.Put("inst-1", {{7, v2, 13}, {5, v1, 14}, {5, v2, 15}});
    EXPECT_EQ(Counts(view, 7), (std::vector<VersionCount>{{v1, 1}, {v2, 1}}));
    EXPECT_EQ(Counts(view, 5), (std::vector<VersionCount>{{v2, 1}}));
    const ReportView::Installation* mine = view.Find("inst-1");
    ASSERT_NE(mine, nullptr);
    ASSERT_EQ(mine->reports.size(), 3u);
    EXPECT_EQ(mine->Find(7)->version, v2);
    EXPECT_EQ(mine->Find(7)->fingerprint, 13u);
    EXPECT_EQ(mine->Find(5)->fingerprint, 15u);
    EXPECT_EQ(mine->Find(3)->fingerprint, 12u);
    EXPECT_EQ(mine->Find(4), nullptr);
    EXPECT_EQ(view.Find("inst-3"), nullptr);

    view.Put("inst-2", {{7, v2, 22}});
    EXPECT_EQ(Counts(view, 7), (std::vector<VersionCount>{{v2, 2}})) << "no version left at 0";
}

TEST(ReportView, SubmissionsAreCountedOncePerProgramAndVersion) {
    ReportView view;
    const PackedVersion v2 = PackVersion({2, 0, 0, 0}), v3 = PackVersion({3, 0, 0, 0});
    EXPECT_TRUE(view.Submit("inst-1", 7, v2));
    EXPECT_FALSE(view.Submit("inst-1", 7, v2));
    EXPECT_TRUE(view.Submit("inst-1", 7, v3));
    EXPECT_TRUE(view.Submit("inst-1", 2, v2));
    EXPECT_TRUE(view.Submit("inst-2", 7, v2));
    const ReportView::Installation* mine = view.Find("inst-1");
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(mine->submissions.size(), 3u);
    EXPECT_TRUE(mine->Submitted(7, v3));
    EXPECT_FALSE(mine->Submitted(2, v3));
    EXPECT_TRUE(mine->reports.empty());
}

TEST(ReportFingerprint, DiffersWhenPathDateOrSizeDiffers) {
    const uint64_t base = ReportFingerprint("\\App\\", "2013-05-01 14:03:09", 100);
    EXPECT_EQ(ReportFingerprint("\\App\\", "2013-05-01 14:03:09", 100), base);
    EXPECT_NE(ReportFingerprint("\\app\\", "2013-05-01 14:03:09", 100), base);
    EXPECT_NE(ReportFingerprint("\\App\\", "2013-05-01 14:03:10", 100), base);
    EXPECT_NE(ReportFingerprint("\\App\\", "2013-05-01 14:03:09", 101), base);
    // Texts moved between path and date are another report.
    EXPECT_NE(ReportFingerprint("\\App\\2013", "-05-01 14:03:09", 100), base);
}

} // namespace
} // namespace torvik::server
