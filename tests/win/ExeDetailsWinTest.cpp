#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "build_info.h"
#include "common/Error.h"
#include "common/Utf8.h"
#include "inventory/ExeDetails.h"
#include "inventory/PeHeader.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32VersionInfo.h"

namespace torvik::win32 {
namespace {

std::wstring Fixture(const wchar_t* name) {
    return wintest::BesideTestExe(L"fixtures\\") + name;
}

// Files that are no executables, written beside the fixtures when first
// asked for: a copy cut inside the PE header, one cut behind the headers
// (before the resources), and an "MZ" file full of noise.
class BadFiles {
public:
    static const BadFiles& Get() {
        static const BadFiles files;
        return files;
    }
    std::vector<std::wstring> All() const { return {cutInHeader, cutAfterHeaders, noise}; }

    std::wstring cutInHeader = Fixture(L"bad_cut_in_header.exe");
    std::wstring cutAfterHeaders = Fixture(L"bad_cut_after_headers.exe");
    std::wstring noise = Fixture(L"bad_noise.exe");

private:
    BadFiles() {
        Win32FileSystem fs;
        const std::string image = fs.ReadFile(Fixture(L"fx_version6.exe")).value();
        const uint32_t header =
            static_cast<unsigned char>(image[0x3C]) | static_cast<unsigned char>(image[0x3D]) << 8;
        fs.WriteFileAtomic(cutInHeader, image.substr(0, header + 10));
        fs.WriteFileAtomic(cutAfterHeaders, image.substr(0, 1024));
        std::string noiseBytes = "MZ";
        uint32_t x = 2463534242u;
        while (noiseBytes.size() < 8192) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            noiseBytes += static_cast<char>(x & 0xFF);
        }
        fs.WriteFileAtomic(noise, noiseBytes);
    }
};

// Inputs that are not readable executables: missing, a folder, bad files.
std::vector<std::wstring> Unreadable() {
    std::vector<std::wstring> files = BadFiles::Get().All();
    files.push_back(Fixture(L"missing.exe"));
    files.push_back(wintest::BesideTestExe(L"fixtures"));
    files.push_back(Fixture(L"fx_no_version.exe"));
    return files;
}

TEST(Win32VersionInfo, ReadsTheFileVersion) {
    Win32VersionInfo info;
    EXPECT_EQ(GetEXEversion(info, Fixture(L"fx_version6.exe")), L"6.1.7601 build:17514");
    EXPECT_EQ(GetEXEversion(info, Fixture(L"fx_file_version_only.exe")), L"2.0.0 build:1");
    for (const auto& file : Unreadable()) {
        EXPECT_EQ(GetEXEversion(info, file), L"debug build:0") << StringToUtf8(file);
    }
}

TEST(Win32VersionInfo, BuildNumberOfTheRunningExecutable) {
    Win32VersionInfo info;
    const std::wstring self = Win32Processes().ExecutablePath();
    EXPECT_EQ(GetBuildNumber(info, self), std::to_wstring(TORVIK_VERSION_BUILD));
    EXPECT_EQ(GetEXEversion(info, self), std::to_wstring(TORVIK_VERSION_MAJOR) + L"." +
                                             std::to_wstring(TORVIK_VERSION_MINOR) + L"." +
                                             std::to_wstring(TORVIK_VERSION_RELEASE) + L" build:" +
                                             std::to_wstring(TORVIK_VERSION_BUILD));
    EXPECT_EQ(GetEXEFileInformation(info, self, L"OriginalFilename"), L"updater.exe");
    EXPECT_EQ(GetBuildNumber(info, Fixture(L"fx_no_version.exe")), L"0");
}

TEST(Win32VersionInfo, StringsComeFromTheFirstTranslationOnly) {
    Win32VersionInfo info;
    const std::wstring version6 = Fixture(L"fx_version6.exe");
    EXPECT_EQ(GetEXEFileInformation(info, version6, L"CompanyName"), L"Fixture Company");
    EXPECT_EQ(GetEXEFileDescription(info, version6), L"Fixture tool");
    EXPECT_EQ(GetEXEFileInformation(info, version6, L"Author"), L"");
    // The table is named in either letter case.
    const auto resource = info.Load(version6);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(resource->StringValue(L"\\StringFileInfo\\040904B0\\ProductName"),
              L"Fixture Product");
    EXPECT_EQ(resource->StringValue(L"\\StringFileInfo\\040904b0\\ProductName"),
              L"Fixture Product");
    EXPECT_EQ(resource->Translations(), (std::vector<uint32_t>{0x04B00409}));

    // The strings are there, under the second translation: not looked for.
    const std::wstring german = Fixture(L"fx_second_translation.exe");
    const auto second = info.Load(german);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->StringValue(L"\\StringFileInfo\\040704B0\\CompanyName"), L"Zweite Firma");
    EXPECT_EQ(GetEXEFileInformation(info, german, L"CompanyName"), L"");
    EXPECT_TRUE(GetEXEdetails(info, german).empty());
    EXPECT_EQ(GetEXEversion(info, german), L"3.0.0 build:0");

    for (const auto& file : Unreadable()) {
        EXPECT_EQ(GetEXEFileInformation(info, file, L"CompanyName"), L"") << StringToUtf8(file);
    }
    EXPECT_THROW(GetEXEFileInformation(info, version6, L""), TorvikError);
}

TEST(Win32VersionInfo, DetailsLines) {
    Win32VersionInfo info;
    EXPECT_EQ(GetEXEdetails(info, Fixture(L"fx_version6.exe")),
              (std::vector<std::wstring>{L"[CompanyName]", L"Fixture Company", L"[FileDescription]",
                                         L"Fixture tool", L"[FileVersion]", L"6.1.7601.17514",
                                         L"[InternalName]", L"fx_version6", L"[LegalCopyright]",
                                         L"(C) Fixture Company", L"[OriginalFilename]",
                                         L"fx_version6.exe", L"[ProductName]", L"Fixture Product",
                                         L"[ProductVersion]", L"6.1"}));
    const auto onlyVersion = GetEXEdetails(info, Fixture(L"fx_file_version_only.exe"));
    EXPECT_EQ(DetailsText(onlyVersion), L"[FileVersion]\r\n2.0.0.1\r\n");
    EXPECT_EQ(GetEXEdetails(info, Fixture(L"fx_description_crlf.exe")),
              (std::vector<std::wstring>{L"[FileDescription]", L"Tool<br>for X"}));
    EXPECT_EQ(GetEXEdetails(info, Fixture(L"fx_description_lf.exe")),
              (std::vector<std::wstring>{L"[FileDescription]", L"Tool\nfor X"}));
    for (const auto& file : Unreadable()) {
        EXPECT_TRUE(GetEXEdetails(info, file).empty()) << StringToUtf8(file);
    }
}

TEST(PeHeaderOnWindows, ReadsTheLinkTimeStamp) {
    Win32FileSystem fs;
    EXPECT_EQ(GetExePeTimeStamp(fs, Fixture(L"fx_stamp_day_after.exe")), 1222879134u);
    EXPECT_NEAR(GetExePeDateTime(fs, Fixture(L"fx_stamp_day_after.exe")), 39722.818681, 1e-9);
    const double before = GetExePeDateTime(fs, Fixture(L"fx_stamp_day_before.exe"));
    EXPECT_NEAR(before, 39720.818681, 1e-9);
    EXPECT_LT(before, 39721.818681);
}

TEST(PeHeaderOnWindows, BadFilesGiveANumberAndUnopenableOnesRaise) {
    Win32FileSystem fs;
    EXPECT_EQ(GetExePeTimeStamp(fs, BadFiles::Get().cutInHeader), 0u);
    EXPECT_EQ(GetExePeTimeStamp(fs, BadFiles::Get().cutAfterHeaders),
              GetExePeTimeStamp(fs, Fixture(L"fx_version6.exe")));
    EXPECT_NO_THROW(GetExePeTimeStamp(fs, BadFiles::Get().noise));
    EXPECT_THROW(GetExePeTimeStamp(fs, Fixture(L"missing.exe")), TorvikError);
    EXPECT_THROW(GetExePeDateTime(fs, wintest::BesideTestExe(L"fixtures")), TorvikError);
}

} // namespace
} // namespace torvik::win32
