#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ui/ProgramFilter.h"

namespace torvik {
namespace {

using ::testing::ElementsAreArray;
using Words = std::vector<std::wstring>;

TEST(ProgramFilter, SplitsWordsAndQuotedPhrases) {
    const struct {
        const wchar_t* text;
        Words words;
    } cases[] = {
        {L"", {}},
        {L"   ", {}},
        {L"paint", {L"paint"}},
        {L"  microsoft   -office ", {L"microsoft", L"-office"}},
        {L"\"adobe reader\" -update", {L"adobe reader", L"-update"}},
        {L"\" spaced phrase \"", {L"spaced phrase"}},
        {L"\"say \"\"hi\"\"\" x", {L"say \"hi\"", L"x"}},
        {L"\"\" \"  \" a", {L"a"}},
        {L"\"unclosed phrase", {L"unclosed phrase"}},
        {L"\"ab\"cd", {L"ab", L"cd"}},
        {L"it\"s", {L"it\"s"}},
        {L"tab\tinside", {L"tab\tinside"}},
    };
    for (const auto& c : cases) {
        EXPECT_THAT(SplitFilterWords(c.text), ElementsAreArray(c.words)) << c.text;
    }
}

TProgramRecord Program(const wchar_t* name, int32_t status = ProgramStatus::New,
                       const wchar_t* version = L"1.0.0 build:1",
                       const wchar_t* serverVersion = L"") {
    TProgramRecord record;
    record.ProgramName = name;
    record.TargetExePath = L"C:\\Program Files\\Vendor\\";
    record.TargetExeFilename = L"app.exe";
    record.Status = status;
    record.TargetExeVersion = version;
    record.ServerVersion = serverVersion;
    return record;
}

TEST(ProgramFilter, MatchesEveryWordAndNoExcludedOneInNameAndPathIgnoringCase) {
    const struct {
        const wchar_t* filter;
        const wchar_t* name;
        bool shown;
    } cases[] = {
        {L"", L"Anything", true},
        {L"paint", L"Paint.NET", true},
        {L"PAINT", L"MS paint", true},
        {L"paint", L"Photo Editor", false},
        {L"microsoft -office", L"Microsoft Word", true},
        {L"microsoft -office", L"Microsoft Office Word", false},
        {L"microsoft -OFFICE", L"microsoft office", false},
        {L"vendor app.exe", L"Tool", true}, // the folder and the file name count
        {L"-vendor", L"Tool", false},
        {L"-zip -rar", L"Tool", true}, // only exclusions: every other program
        {L"-", L"Tool", true},         // an empty exclusion excludes nothing
        {L"\"paint shop\"", L"Paint Shop Pro", true},
        {L"\"paint shop\"", L"Shop Paint", false},
        {L"paint shop", L"Shop Paint", true},
        {L"\"-paint shop\"", L"Paint Shop Pro", false},
        {L"\"tool c:\\program\"", L"Tool", true}, // name, path and file joined by spaces
        {L"vendor\\app.exe", L"Tool", false},
    };
    for (const auto& c : cases) {
        const ProgramFilter filter(c.filter, {});
        EXPECT_EQ(filter.Shows(Program(c.name)), c.shown) << c.filter << " / " << c.name;
    }
}

TEST(ProgramFilter, SwitchesHideByStatusVersionAndDriverName) {
    using namespace ProgramStatus;
    const ProgramFilterSwitches none{};
    const ProgramFilterSwitches hideExcluded{.hideExcluded = true};
    const ProgramFilterSwitches hideUpToDate{.hideUpToDate = true};
    const ProgramFilterSwitches noDrivers{.displayDrivers = false};
    const struct {
        const char* what;
        TProgramRecord record;
        ProgramFilterSwitches switches;
        bool shown;
    } cases[] = {
        {"missing executable", Program(L"Gone", Missing), none, false},
        {"no name", Program(L"", New), none, false},
        {"excluded, shown", Program(L"X", Excluded), none, true},
        {"excluded, hidden", Program(L"X", Excluded), hideExcluded, false},
        {"up to date, shown", Program(L"X", UpToDate), hideExcluded, true},
        {"up to date, hidden", Program(L"X", UpToDate), hideUpToDate, false},
        {"newer, not hidden", Program(L"X", NewerVersion), hideUpToDate, true},
        {"no version, no server version", Program(L"X", NoVersionInfo, L"--", L""), hideUpToDate,
         false},
        {"no version, server \"--\"", Program(L"X", NotInDatabase, L"--", L"--"), hideUpToDate,
         false},
        {"no version, server knows one", Program(L"X", NewerVersion, L"--", L"2.0"), hideUpToDate,
         true},
        {"no version, switch off", Program(L"X", NoVersionInfo, L"--", L""), none, true},
        {"driver, displayed", Program(L"Driver: Audio"), none, true},
        {"driver, not displayed", Program(L"Driver: Audio"), noDrivers, false},
        {"driver prefix is case sensitive", Program(L"driver: audio"), noDrivers, true},
        {"driver in the middle", Program(L"My Driver: X"), noDrivers, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgramFilter(L"", c.switches).Shows(c.record), c.shown) << c.what;
    }
    // The words and the switches must both let a program through.
    EXPECT_FALSE(ProgramFilter(L"audio", noDrivers).Shows(Program(L"Driver: Audio")));
    EXPECT_FALSE(ProgramFilter(L"x", hideUpToDate).Shows(Program(L"X", UpToDate)));
}

} // namespace
} // namespace torvik
