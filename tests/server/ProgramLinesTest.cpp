#include <gtest/gtest.h>

#include "server/ProgramLines.h"

namespace torvik::server {
namespace {

const std::string kApp = "Demo App|\\Demo\\|scanfix_app.exe|1.2.3 build:4|00001.00002.00003.00004|"
                         "1|2|3|4|2013-05-01 14:03:09|1234|[CompanyName]<br>Torvik<br>";

TEST(ReadProgramLines, ReadsTheTwelveFields) {
    const std::string text = kApp + "\r\n";
    const auto lines = ReadProgramLines(text);
    ASSERT_EQ(lines.size(), 1u);
    const ProgramLine& p = lines[0];
    EXPECT_EQ(p.programName, "Demo App");
    EXPECT_EQ(p.exePath, "\\Demo\\");
    EXPECT_EQ(p.exeFilename, "scanfix_app.exe");
    EXPECT_EQ(p.versionText, "1.2.3 build:4");
    EXPECT_EQ(p.VersionX(), "00001.00002.00003.00004");
    EXPECT_EQ(p.exeDate, "2013-05-01 14:03:09");
    EXPECT_EQ(p.exeSize, 1234);
    EXPECT_EQ(p.details, "[CompanyName]<br>Torvik<br>");
    EXPECT_TRUE(p.HasVersion());
}

TEST(ReadProgramLines, NamesWithBarsLineBreaksAndBadLines) {
    const std::string tail = "|C:\\x\\|x.exe|--|00000.00000.00000.00000|0|0|0|0|d|12|";
    const struct {
        std::string text;
        std::vector<std::string> names;
    } cases[] = {
        {"Foo|Bar" + tail, {"Foo|Bar"}}, // 13 fields: the name held a "|"
        {"A|B|C" + tail + "\nD" + tail, {"A|B|C", "D"}},
        {"  Spaced  " + tail + "\r\rE" + tail + "\r\n", {"Spaced", "E"}},
        {"F|C:\\|x.exe|--|0|0|0|0|d|12|", {}},   // eleven fields
        {"|C:\\|x.exe|--|0|0|0|0|0|d|12|", {}},  // no name
        {"G|C:\\||--|0|0|0|0|0|d|12|", {}},      // no file name
        {"H|C:\\|x.exe|--|0|1|x|0|0|d|12|", {}}, // a version number that is no number
        {"I|C:\\|x.exe|--|0|1|65536|0|0|d|12|", {}},
        {"J|C:\\|x.exe|--|0|-1|0|0|0|d|12|", {}},
        {"K|C:\\|x.exe|--|0|1|2|3|4|d|huge|", {"K"}}, // an unreadable size counts as 0
        {"\r\n\r\n", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> names;
        for (const auto& p : ReadProgramLines(c.text)) {
            names.emplace_back(p.programName);
        }
        EXPECT_EQ(names, c.names) << c.text;
    }
    EXPECT_FALSE(ReadProgramLines("X" + tail)[0].HasVersion());
    EXPECT_EQ(ReadProgramLines("K|C:\\|x.exe|--|0|1|2|3|4|d|huge|")[0].exeSize, 0);
}

TEST(ReadProgramLines, LimitsSkipOversizedLinesAndRefuseTooManyPrograms) {
    ProgramLineLimits limits;
    limits.maxLines = 2;
    limits.maxFieldBytes = 10;
    limits.maxDetailsBytes = 20;
    const std::string ok = "App|p|a.exe|--|0|0|0|0|0|d|1|";
    EXPECT_EQ(ReadProgramLines(ok + "\n" + ok, limits).size(), 2u);
    EXPECT_THROW(ReadProgramLines(ok + "\n" + ok + "\n" + ok, limits), TooManyProgramsError);
    EXPECT_TRUE(
        ReadProgramLines("App|p|a.exe|--|0|0|0|0|0|d|1|" + std::string(21, 'x'), limits).empty());
    EXPECT_TRUE(
        ReadProgramLines(std::string(11, 'N') + "|p|a.exe|--|0|0|0|0|0|d|1|", limits).empty());
}

TEST(Versions, DottedTextsAndTheClientsForms) {
    std::array<uint32_t, 4> v{};
    const struct {
        const char* text;
        bool ok;
        std::array<uint32_t, 4> version;
    } cases[] = {
        {"1.3.0.0", true, {1, 3, 0, 0}},
        {"10", true, {10, 0, 0, 0}},
        {"1.2.3.4.5", false, {}},
        {"1..2", false, {}},
        {"1.x", false, {}},
        {"", false, {}},
        {"65536", false, {}},
        {" 1", false, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDottedVersion(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.version) << c.text;
        }
    }
    EXPECT_EQ(FormatVersionX({10, 0, 2, 100}), "00010.00000.00002.00100");
    EXPECT_EQ(FormatVersionText({10, 0, 2, 100}), "10.0.2 build:100");
    EXPECT_EQ(KeyOf("Demo APP \xC3\x89"), "demo app \xC3\x89");
}

} // namespace
} // namespace torvik::server
