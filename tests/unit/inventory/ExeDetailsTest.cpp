#include <gtest/gtest.h>

#include "common/Error.h"
#include "fakes/FakeVersionInfo.h"
#include "inventory/ExeDetails.h"

namespace torvik {
namespace {

using testing::FakeResource;
using testing::FakeVersionInfo;
using testing::UsEnglishResource;

TEST(GetEXEversion, FormatsTheFixedFileVersion) {
    FakeVersionInfo info;
    info.files[L"win.exe"] = UsEnglishResource({});
    FakeResource top;
    top.fixed = FixedFileVersion{0xFFFFFFFF, 0xFFFFFFFF};
    info.files[L"top.exe"] = top;
    FakeResource noFixed = UsEnglishResource({{L"FileVersion", L"1.0"}});
    noFixed.fixed.reset();
    info.files[L"nofixed.exe"] = noFixed;

    EXPECT_EQ(GetEXEversion(info, L"win.exe"), L"6.1.7601 build:17514");
    EXPECT_EQ(GetEXEversion(info, L"top.exe"), L"65535.65535.65535 build:65535");
    EXPECT_EQ(GetEXEversion(info, L"nofixed.exe"), L"debug build:0");
    EXPECT_EQ(GetEXEversion(info, L"missing.exe"), L"debug build:0");
}

TEST(GetBuildNumber, IsTheFourthNumberOrZero) {
    FakeVersionInfo info;
    FakeResource own;
    own.fixed = FixedFileVersion{0x00010000, 0x00000043}; // 1.0.0.67
    info.files[L"C:\\updater.exe"] = own;
    EXPECT_EQ(GetBuildNumber(info, L"C:\\updater.exe"), L"67");
    EXPECT_EQ(GetBuildNumber(info, L"C:\\unversioned.exe"), L"0");
}

TEST(GetEXEFileInformation, ReadsTheFirstTranslationsTable) {
    FakeVersionInfo info;
    info.files[L"a.exe"] = UsEnglishResource({{L"CompanyName", L"Acme"}});
    FakeResource second;
    second.fixed = FixedFileVersion{};
    second.translations = {0x04B00409, 0x04B00407};
    second.strings[L"\\StringFileInfo\\040704b0\\CompanyName"] = L"Acme GmbH";
    info.files[L"de.exe"] = second;
    FakeResource noTable = UsEnglishResource({{L"CompanyName", L"Acme"}});
    noTable.translations.clear();
    info.files[L"notable.exe"] = noTable;

    EXPECT_EQ(GetEXEFileInformation(info, L"a.exe", L"CompanyName"), L"Acme");
    EXPECT_EQ(GetEXEFileInformation(info, L"a.exe", L"ProductName"), L"");
    EXPECT_EQ(GetEXEFileInformation(info, L"de.exe", L"CompanyName"), L"");
    EXPECT_EQ(GetEXEFileInformation(info, L"notable.exe", L"CompanyName"), L"");
    EXPECT_EQ(GetEXEFileInformation(info, L"missing.exe", L"CompanyName"), L"");
}

TEST(GetEXEFileInformation, AnEmptyKeyIsAProgrammingError) {
    FakeVersionInfo info;
    info.files[L"a.exe"] = UsEnglishResource({{L"CompanyName", L"Acme"}});
    try {
        GetEXEFileInformation(info, L"a.exe", L"");
        FAIL() << "no error";
    } catch (const TorvikError& e) {
        EXPECT_EQ(e.Message(), L"No key passed to getEXEFileInformation");
    }
}

TEST(GetEXEFileDescription, IsTheFileDescription) {
    FakeVersionInfo info;
    info.files[L"d.sys"] = UsEnglishResource({{L"FileDescription", L"Disk driver"}});
    EXPECT_EQ(GetEXEFileDescription(info, L"d.sys"), L"Disk driver");
}

TEST(GetEXEdetails, ListsNonBlankValuesInKeyOrder) {
    FakeVersionInfo info;
    info.files[L"a.exe"] = UsEnglishResource({
        {L"Author", L"Ann"},
        {L"Comments", L"  \t "}, // blank: left out
        {L"CompanyName", L" Acme \r\n"},
        {L"FileDescription", L"Tool\r\nfor X"},
        {L"PrivateBuild", L"not a details key"},
        {L"LegalTradeMarks", L"TM"},
    });
    EXPECT_EQ(GetEXEdetails(info, L"a.exe"),
              (std::vector<std::wstring>{L"[CompanyName]", L"Acme", L"[FileDescription]",
                                         L"Tool<br>for X", L"[LegalTradeMarks]", L"TM", L"[Author]",
                                         L"Ann"}));
}

TEST(GetEXEdetails, OnlyFileVersionGivesTwoLines) {
    FakeVersionInfo info;
    info.files[L"a.exe"] = UsEnglishResource({{L"FileVersion", L"2.0.0.1"}});
    const auto lines = GetEXEdetails(info, L"a.exe");
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"[FileVersion]", L"2.0.0.1"}));
    EXPECT_EQ(DetailsText(lines), L"[FileVersion]\r\n2.0.0.1\r\n");
}

TEST(GetEXEdetails, NothingToReadGivesNoLines) {
    FakeVersionInfo info;
    info.files[L"empty.exe"] = UsEnglishResource({});
    FakeResource other;
    other.translations = {0x04E40409};
    other.strings[L"\\StringFileInfo\\040904B0\\CompanyName"] = L"Acme";
    info.files[L"other.exe"] = other;
    for (const std::wstring file : {L"empty.exe", L"other.exe", L"missing.exe"}) {
        EXPECT_TRUE(GetEXEdetails(info, file).empty()) << file;
    }
    EXPECT_EQ(DetailsText({}), L"");
}

TEST(EscapeLineBreaks, TurnsCarriageReturnsIntoBreakTags) {
    const struct {
        std::wstring in, out;
    } cases[] = {
        {L"Tool\r\nfor X", L"Tool<br>for X"},
        {L"Tool\nfor X", L"Tool\nfor X"},
        {L"a\rb", L"a<br>b"},
        {L"a\r\r\nb", L"a<br><br>b"},
        {L"\n\r", L"\n<br>"},
        {L"a\r\n\r\nb", L"a<br><br>b"},
        {L"plain", L"plain"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeLineBreaks(c.in), c.out);
    }
}

} // namespace
} // namespace torvik
