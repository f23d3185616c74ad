#include <gtest/gtest.h>

#include "common/Text.h"
#include "common/Utf8.h"
#include "exchange/CheckRequest.h"
#include "protocol/Compression.h"
#include "protocol/Split.h"

namespace torvik {
namespace {

constexpr wchar_t kProgramFiles[] = L"C:\\Program Files";

TProgramRecord Record(const std::wstring& name, const std::wstring& path,
                      const std::wstring& file) {
    TProgramRecord r;
    r.ProgramName = name;
    r.TargetExePath = path;
    r.TargetExeFilename = file;
    r.TargetExeVersion = L"2.10.3 build:45";
    r.TargetExeVersionX = L"00002.00010.00003.00045";
    r.TargetExeVersion1 = 2;
    r.TargetExeVersion2 = 10;
    r.TargetExeVersion3 = 3;
    r.TargetExeVersionB = 45;
    r.TargetExeDateM = 45000.5; // 2023-03-15 12:00:00
    r.TargetExeSize = 5000000000;
    r.TargetExeDetails = L"[CompanyName]\r\nTorvik\rFixtures\nLtd";
    return r;
}

TEST(ProgramLine, HoldsTheTwelveFieldsInOrder) {
    TProgramRecord r = Record(L"Editor", L"c:\\PROGRAM FILES\\Editor\\", L"editor.exe");
    r.FlagSendDetailsToServer = true;
    EXPECT_EQ(ProgramLine(r, kProgramFiles),
              L"Editor|\\Editor\\|editor.exe|2.10.3 build:45|00002.00010.00003.00045|2|10|3|45|"
              L"2023-03-15 12:00:00|5000000000|[CompanyName]<br>Torvik<br>Fixtures<br>Ltd");
    r.FlagSendDetailsToServer = false; // details go once per executable
    EXPECT_TRUE(EndsWith(ProgramLine(r, kProgramFiles), L"|5000000000|"));
}

TEST(ProgramLine, CasesOfPathAndName) {
    const struct {
        const wchar_t* name;
        const wchar_t* path;
        const wchar_t* sentPath;
        size_t fields;
    } cases[] = {
        {L"Editor", L"C:\\Program Files\\Editor\\", L"\\Editor\\", 12},
        {L"Foo|Bar", L"D:\\Tools\\", L"D:\\Tools\\", 13}, // nothing is escaped
        {L"Editor", L"C:\\Program Files (x86)\\Ed\\", L" (x86)\\Ed\\", 12},
        {L"Editor", L"C:\\Apps\\C:\\Program Files\\", L"C:\\Apps\\\\", 12}, // every occurrence
    };
    for (const auto& c : cases) {
        const auto fields =
            _x_Split(ProgramLine(Record(c.name, c.path, L"e.exe"), kProgramFiles), L"|", false);
        EXPECT_EQ(fields.size(), c.fields) << c.name;
        EXPECT_EQ(fields[c.fields - 11], c.sentPath) << c.path;
    }
}

TEST(CheckProgramLines, SendsOnlyProgramsThatMayLeaveTheComputer) {
    ProgramLists lists;
    for (const auto& [name, status] : {std::pair{L"Checked", 2}, std::pair{L"Excluded", -1},
                                       std::pair{L"Gone", -2}, std::pair{L"New", 0}}) {
        lists.TempProgramList.push_back(
            std::make_unique<TProgramRecord>(Record(name, L"C:\\A\\", L"a.exe")));
        lists.TempProgramList.back()->Status = status;
    }
    const auto lines = CheckProgramLines(lists.TempProgramList, kProgramFiles);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(StartsWith(lines[0], L"Checked|"));
    EXPECT_TRUE(StartsWith(lines[1], L"New|"));
}

TEST(CheckForUpdatesRequest, IsTheCommonFieldsThenTheCompressedLines) {
    const auto form = CheckForUpdatesRequest(L"67", L"user_X#Windows", {L"Ä|1", L"B|2"});
    ASSERT_EQ(form.TextFields().size(), 3u);
    const std::pair<std::wstring, std::wstring> expected[] = {
        {L"build", L"67"}, {L"header", L"user_X#Windows"}, {L"mode", L"check_for_updates"}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(form.TextFields()[i].name, expected[i].first);
        EXPECT_EQ(form.TextFields()[i].value, expected[i].second);
    }
    ASSERT_EQ(form.BinaryFields().size(), 1u);
    const auto& part = form.BinaryFields()[0];
    EXPECT_EQ(part.name, L"programs_list_zlib_UTF8_nouu");
    EXPECT_EQ(part.fileName, L"");
    EXPECT_EQ(ZlibDecompressByteString(part.value), "\xC3\x84|1\r\nB|2\r\n");

    const auto empty = CheckForUpdatesRequest(L"67", L"h", {});
    EXPECT_EQ(ZlibDecompressByteString(empty.BinaryFields()[0].value), "");
    EXPECT_EQ(empty.BinaryFields()[0].value, ZlibCompressText(L""));
}

} // namespace
} // namespace torvik
