#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "WinTestSupport.h"
#include "common/TextFile.h"

namespace torvik::app {
namespace {

using wintest::BesideTestExe;
using wintest::RunAndWait;

std::string ReadAll(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class WindowSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"torvik-settings-probe\\";
        ::CreateDirectoryW(folder.c_str(), nullptr);
        for (const wchar_t* name : {L"settings_probe.ini", L"settings_probe.Session.ini",
                                    L"values.txt", L"settings_probe.positions.ini"}) {
            ::DeleteFileW((folder + name).c_str());
        }
    }
    // The folder goes without its final backslash, which would escape the
    // closing quote.
    long Probe(const std::wstring& mode) {
        return RunAndWait(L"\"" + BesideTestExe(L"settings_probe.exe") + L"\" " + mode + L" \"" +
                          folder.substr(0, folder.size() - 1) + L"\"");
    }
    std::vector<std::wstring> Values() {
        return SplitTextLines(DecodeTextFile(ReadAll(folder + L"values.txt"), nullptr));
    }
    std::wstring folder;
};

TEST_F(WindowSettingsTest, ValuesAndPlaceSurviveARestart) {
    ASSERT_EQ(Probe(L"save"), 0);
    const std::string file = ReadAll(folder + L"settings_probe.ini");
    EXPECT_EQ(file.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(file.find("[lvItems.Items]\r\n><checked>1<caption>Tool<FF>C:\\t\\tool.exe\r\n"
                        "><checked>0<caption>Other<FF>\r\n"),
              std::string::npos)
        << file;
    EXPECT_NE(file.find("[lvItems.Columns]\r\n140,220\r\n"), std::string::npos) << file;

    ASSERT_EQ(Probe(L"load"), 0);
    EXPECT_EQ(Values(), (std::vector<std::wstring>{
                            L"Zo\u00EB", L"[second line]", L"0", L"list:alpha", L"list:beta",
                            L"item:Tool|C:\\t\\tool.exe|1", L"item:Other||0", L"width:140",
                            L"width:220", L"place:50,60,500,400"}));
}

TEST_F(WindowSettingsTest, AFirstStartKeepsTheDesignDefaults) {
    ASSERT_EQ(Probe(L"load"), 0);
    const auto values = Values();
    ASSERT_GE(values.size(), 2u);
    EXPECT_EQ(values[0], L"");
    EXPECT_EQ(values[1], L"1"); // the check box's design default
    EXPECT_EQ(::GetFileAttributesW((folder + L"settings_probe.ini").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(WindowSettingsTest, AnOlderPositionsFileIsMergedAndRemoved) {
    {
        std::ofstream legacy((folder + L"settings_probe.positions.ini").c_str(), std::ios::binary);
        legacy << "70,80,420,310,Normal";
    }
    ASSERT_EQ(Probe(L"load"), 0);
    EXPECT_EQ(Values().back(), L"place:70,80,420,310");
    EXPECT_EQ(::GetFileAttributesW((folder + L"settings_probe.positions.ini").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(ReadAll(folder + L"settings_probe.Session.ini")
                  .find("[Form Position and Size]\r\n70,80,420,310,Normal"),
              std::string::npos);
}

} // namespace
} // namespace torvik::app
