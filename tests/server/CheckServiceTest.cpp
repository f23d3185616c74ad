#include <gtest/gtest.h>

#include "FakeStorage.h"
#include "protocol/IniSections.h"
#include "server/CheckService.h"

namespace torvik::server {
namespace {

using testing::FakeStorage;

ProgramLine Program(std::string_view name, std::string_view exe, std::array<uint32_t, 4> version,
                    std::string_view details = "") {
    ProgramLine p;
    p.programName = name;
    p.exeFilename = exe;
    p.exePath = "\\Apps\\";
    p.version = version;
    p.versionText = FormatVersionText(version);
    p.exeDate = "2013-05-01 14:03:09";
    p.exeSize = 100;
    p.details = details;
    return p;
}

// The lines of one section of a reply, as the program reads them.
std::vector<std::string> Section(const std::string& reply, const std::string& name) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end = reply.find("\r\n"); end != std::string::npos;
         start = end + 2, end = reply.find("\r\n", start)) {
        lines.emplace_back(reply.begin() + static_cast<long>(start),
                           reply.begin() + static_cast<long>(end));
    }
    std::vector<std::string> out;
    for (const auto& line :
         GetIniSectionInternal(std::wstring(name.begin(), name.end()), lines, false)) {
        out.emplace_back(line.begin(), line.end());
    }
    return out;
}

class CheckServiceTest : public ::testing::Test {
protected:
    CheckServiceTest() {
        storage.ImportCatalogue({
            {"Demo App", "scanfix_app.exe", "1.3.0.0", "https://example.org/app", "",
             "Faster start", false},
            {"Demo Tool", "scanfix_tool.exe", "10.0.2.100", "https://example.org/tool", "",
             "error: not really", true},
        });
    }
    FakeStorage storage;
};

TEST_F(CheckServiceTest, StatusesFollowTheCatalogueAndUnknownProgramsGetNoLine) {
    CheckService service(storage);
    const std::string reply =
        service.Check("user_A", {Program("demo app", "SCANFIX_APP.EXE", {1, 2, 3, 4}),
                                 Program("Demo Tool", "scanfix_tool.exe", {10, 0, 2, 100}),
                                 Program("Unknown", "u.exe", {1, 0, 0, 0})});
    EXPECT_EQ(Section(reply, "recheck_str"), std::vector<std::string>{"Not in the database yet"});
    EXPECT_EQ(Section(reply, "results"),
              (std::vector<std::string>{
                  "demo app|SCANFIX_APP.EXE|1.3.0 build:0|00001.00003.00000.00000|"
                  "https://example.org/app|Faster start|1|1",
                  // A catalogue text that reads as a marker is defused.
                  "Demo Tool|scanfix_tool.exe|10.0.2 build:100|00010.00000.00002.00100|"
                  "https://example.org/tool|error - not really|2|0"}));
    EXPECT_TRUE(Section(reply, "community_results").empty());
    EXPECT_EQ(Section(reply, "total_points"), std::vector<std::string>{"0"});
}

TEST_F(CheckServiceTest, NewerVersionsAreSubmissionsAndOtherUsersSeeThem) {
    CheckService service(storage);
    const std::string a = service.Check(
        "user_A", {Program("Demo App", "scanfix_app.exe", {2, 0, 0, 1}, "[CompanyName]<br>X<br>")});
    EXPECT_EQ(Section(a, "results")[0].substr(Section(a, "results")[0].size() - 4), "|3|1");
    EXPECT_EQ(Section(a, "total_points"), std::vector<std::string>{"1"});
    // Checking again with nothing changed writes nothing and counts once.
    const int saves = storage.saves;
    const std::string again = service.Check(
        "user_A", {Program("Demo App", "scanfix_app.exe", {2, 0, 0, 1}, "[CompanyName]<br>X<br>")});
    EXPECT_EQ(storage.saves, saves);
    EXPECT_EQ(Section(again, "total_points"), std::vector<std::string>{"1"});
    EXPECT_TRUE(Section(again, "community_results").empty()) << "one's own report is not news";

    service.Check("user_C", {Program("Demo App", "scanfix_app.exe", {2, 0, 0, 1})});
    service.Check("user_D", {Program("Demo App", "scanfix_app.exe", {1, 4, 0, 0})});
    const std::string b =
        service.Check("user_B", {Program("DEMO APP", "scanfix_app.exe", {1, 2, 3, 4})});
    EXPECT_EQ(Section(b, "community_results"),
              (std::vector<std::string>{"DEMO APP|scanfix_app.exe|00001.00004.00000.00000|1",
                                        "DEMO APP|scanfix_app.exe|00002.00000.00000.00001|2"}));
    EXPECT_EQ(storage.details.size(), 1u) << "details once per executable and version";
    EXPECT_EQ(storage.ReportCount(), 4u);

    // A user who moves on to a newer version is counted at that one only.
    service.Check("user_D", {Program("Demo App", "scanfix_app.exe", {2, 0, 0, 1})});
    const std::string b2 =
        service.Check("user_B", {Program("Demo App", "scanfix_app.exe", {1, 2, 3, 4})});
    EXPECT_EQ(Section(b2, "community_results"),
              (std::vector<std::string>{"Demo App|scanfix_app.exe|00002.00000.00000.00001|3"}));
}

TEST_F(CheckServiceTest, AServiceStartedAnewKnowsWhatWasRecorded) {
    const auto inventory = [](const char* path) {
        ProgramLine app = Program("Demo App", "scanfix_app.exe", {2, 0, 0, 1});
        app.exePath = path;
        return std::vector<ProgramLine>{app,
                                        Program("Demo Tool", "scanfix_tool.exe", {10, 0, 2, 100}),
                                        Program("Unknown", "u.exe", {1, 0, 0, 0})};
    };
    std::string before;
    {
        CheckService service(storage);
        service.Check("user_A", inventory("\\Apps\\"));
        service.Check("user_B", {Program("DEMO APP", "scanfix_app.exe", {2, 0, 0, 2})});
        before = service.Check("user_C", {Program("Demo App", "scanfix_app.exe", {1, 0, 0, 0})});
    }
    // After a restart the view is built from the stored rows: an unchanged
    // check writes nothing and gets the same reply, and a changed path is
    // written.
    CheckService restarted(storage);
    const int saves = storage.saves;
    EXPECT_EQ(restarted.Check("user_C", {Program("Demo App", "scanfix_app.exe", {1, 0, 0, 0})}),
              before);
    const std::string again = restarted.Check("user_A", inventory("\\Apps\\"));
    EXPECT_EQ(storage.saves, saves);
    EXPECT_EQ(Section(again, "total_points"), std::vector<std::string>{"1"});
    EXPECT_EQ(Section(again, "community_results"),
              std::vector<std::string>{"Demo App|scanfix_app.exe|00002.00000.00000.00002|1"});
    restarted.Check("user_A", inventory("\\Moved\\"));
    EXPECT_EQ(storage.saves, saves + 1);
    EXPECT_EQ(storage.ReportCount(), 5u) << "the moved program replaces its report";
}

TEST_F(CheckServiceTest, AFailedWriteRecordsNothingAndGivesNoReply) {
    CheckService service(storage);
    storage.failWrites = true;
    EXPECT_THROW(service.Check("user_A", {Program("Demo App", "scanfix_app.exe", {2, 0, 0, 0})}),
                 StorageError);
    storage.failWrites = false;
    // The view did not take the lost write: the next check records it.
    const std::string reply =
        service.Check("user_A", {Program("Demo App", "scanfix_app.exe", {2, 0, 0, 0})});
    EXPECT_EQ(Section(reply, "total_points"), std::vector<std::string>{"1"});
    EXPECT_EQ(storage.ReportCount(), 1u);
}

TEST_F(CheckServiceTest, NamesThatReadAsMarkersAndProgramsWithoutVersion) {
    storage.ImportCatalogue({{"error: app", "e.exe", "1.0", "", "", "", false},
                             {"[Beta] Tool", "b.exe", "1.0", "", "", "", false}});
    CheckService service(storage);
    ProgramLine noVersion = Program("Demo App", "scanfix_app.exe", {0, 0, 0, 0});
    noVersion.versionText = "--";
    const std::string reply =
        service.Check("user_A", {Program("[beta] tool", "b.exe", {1, 0, 0, 0}),
                                 Program("error: app", "e.exe", {0, 9, 0, 0}), noVersion});
    // The marker name and the name that reads as a section header get no
    // line; the program without version information is answered (the
    // program shows it as such) but not recorded.
    ASSERT_EQ(Section(reply, "results").size(), 1u);
    EXPECT_EQ(Section(reply, "results")[0].rfind("Demo App|", 0), 0u);
    EXPECT_EQ(storage.ReportCount(), 2u) << "the bracketed program is recorded all the same";
}

TEST_F(CheckServiceTest, AnotherConnectionsChangeIsSeen) {
    CheckService service(storage);
    storage.ImportCatalogue({{"New Program", "new.exe", "3.0", "", "", "", false}});
    EXPECT_TRUE(Section(service.Check("user_A", {Program("New Program", "new.exe", {3, 0, 0, 0})}),
                        "results")
                    .empty())
        << "the view holds until the data version moves";
    ++storage.dataVersion;
    EXPECT_EQ(Section(service.Check("user_A", {Program("New Program", "new.exe", {3, 0, 0, 0})}),
                      "results")
                  .size(),
              1u);
}

} // namespace
} // namespace torvik::server
