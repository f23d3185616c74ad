#include <gtest/gtest.h>

#include "ui/RecordDetailsText.h"

namespace torvik {
namespace {

TEST(RecordDetailsTextTest, ShowsWhatTheRecordHoldsAndLeavesOutTheRest) {
    TProgramRecord record;
    record.ProgramName = L"Demo App";
    record.TargetExePath = L"C:\\Demo\\";
    record.TargetExeFilename = L"app.exe";
    record.TargetExeVersion = L"1.2.3 build:4";
    record.ServerVersion = L"1.3.0";
    record.ReceivedNotes = L"works\r\nwell";
    EXPECT_EQ(
        RecordDetailsLines(record, L"1.3.0 build:0"),
        (std::vector<std::wstring>{L"Program: Demo App", L"Executable: C:\\Demo\\app.exe",
                                   L"My version: 1.2.3 build:4", L"Database status: 1.3.0 build:0",
                                   L"Latest version: 1.3.0", L"Community status: works well"}));

    record.ServerVersion = L"?"; // the service does not know it
    record.ReceivedNotes.clear();
    const auto lines = RecordDetailsLines(record, L"");
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines.back(), L"My version: 1.2.3 build:4");
}

} // namespace
} // namespace torvik
