#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <tuple>

#include "server/CatalogueFile.h"
#include "server/DemoCatalogue.h"
#include "server/SqliteStorage.h"

namespace torvik::server {
namespace {

TEST(DemoCatalogueTest, HoldsTheProgramsTheFixturesExpect) {
    std::vector<std::tuple<std::string, std::string, std::string>> programs;
    for (const auto& entry : DemoCatalogue()) {
        programs.emplace_back(entry.programName, entry.exeFilename, entry.latestVersion);
    }
    EXPECT_EQ(programs, (std::vector<std::tuple<std::string, std::string, std::string>>{
                            {"Demo App", "scanfix_app.exe", "1.3.0.0"},
                            {"Demo Tool", "scanfix_tool.exe", "10.0.2.100"},
                            {"Demo Beta", "scanfix_app.exe", "1.0.0.0"},
                            {"Torvik E2E App", "scanfix_app.exe", "1.3.0.0"},
                            {"Torvik E2E Tool", "scanfix_tool.exe", "10.0.2.100"},
                        }));
}

// Written out as an import file, the demo passes every check of one and
// reads back the same, so an edit that breaks a rule (a bad version, two
// programs with one key) fails here.
TEST(DemoCatalogueTest, IsAValidCatalogueFile) {
    const auto demo = DemoCatalogue();
    nlohmann::json programs = nlohmann::json::array();
    for (const auto& e : demo) {
        EXPECT_TRUE(IsCatalogueVersion(e.latestVersion)) << e.programName;
        programs.push_back({{"name", e.programName},
                            {"exe", e.exeFilename},
                            {"latest_version", e.latestVersion},
                            {"product_url", e.productUrl},
                            {"download_url", e.downloadUrl},
                            {"comments", e.comments},
                            {"has_icon", e.hasIcon}});
    }
    const auto read = ParseCatalogueText(nlohmann::json{{"programs", programs}}.dump(2));
    ASSERT_EQ(read.size(), demo.size());
    for (size_t i = 0; i < read.size(); ++i) {
        const auto& expected = demo[i];
        EXPECT_EQ(std::tie(read[i].programName, read[i].exeFilename, read[i].latestVersion,
                           read[i].productUrl, read[i].downloadUrl, read[i].comments,
                           read[i].hasIcon),
                  std::tie(expected.programName, expected.exeFilename, expected.latestVersion,
                           expected.productUrl, expected.downloadUrl, expected.comments,
                           expected.hasIcon));
    }
}

// The run command seeds the same data folder at every start.
TEST(DemoCatalogueTest, SeedingTheCommunityAgainAddsNothing) {
    const auto storage = SqliteStorage::InMemory();
    storage->ImportCatalogue(DemoCatalogue());
    SeedDemoCommunity(*storage);
    const auto reports = storage->LoadReports().size();
    const auto notes = storage->LoadNotes("Demo App", "scanfix_app.exe", 100);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].alias, "") << "newest first";
    SeedDemoCommunity(*storage);
    EXPECT_EQ(storage->LoadReports().size(), reports);
    EXPECT_EQ(storage->LoadNotes("Demo App", "scanfix_app.exe", 100).size(), 2u);
    EXPECT_EQ(storage->LoadNotes("Demo Tool", "scanfix_tool.exe", 100).size(), 1u);
}

} // namespace
} // namespace torvik::server
