#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/DateText.h"
#include "common/Error.h"
#include "common/Utf8.h"
#include "inventory/PeHeader.h"
#include "platform/posix/PosixFileSystem.h"

namespace torvik {
namespace {

void PutLe32(std::string& bytes, size_t offset, uint32_t value) {
    if (bytes.size() < offset + 4) {
        bytes.resize(offset + 4, '\0');
    }
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// The start of an executable: "MZ", the header offset at 0x3C, the
// signature, machine and section count, and the time stamp.
std::string ImageStart(uint32_t stamp, uint32_t headerOffset = 0x80) {
    std::string bytes(headerOffset + 24, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    PutLe32(bytes, 0x3C, headerOffset);
    bytes.replace(headerOffset, 4, std::string("PE\0\0", 4));
    PutLe32(bytes, headerOffset + 4, 0x0003014C); // i386, 3 sections
    PutLe32(bytes, headerOffset + 8, stamp);
    return bytes;
}

class PeHeader : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("torvik_peheader_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::wstring Write(const char* name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return Utf8ToString((dir_ / name).string());
    }

    std::filesystem::path dir_;
    PosixFileSystem fs_;
};

TEST_F(PeHeader, ReadsTheLinkTimeStamp) {
    EXPECT_EQ(GetExePeTimeStamp(fs_, Write("a.exe", ImageStart(1222879134))), 1222879134u);
    EXPECT_EQ(GetExePeTimeStamp(fs_, Write("b.exe", ImageStart(0xFEDCBA98, 0x40))), 0xFEDCBA98u);
}

TEST_F(PeHeader, DateIsTheStampShiftedByThreeHours) {
    EXPECT_NEAR(GetExePeDateTime(fs_, Write("a.exe", ImageStart(1222792734 + 86400))), 39722.818681,
                1e-9);
    const double earlier = GetExePeDateTime(fs_, Write("b.exe", ImageStart(1222792734 - 86400)));
    EXPECT_NEAR(earlier, 39720.818681, 1e-9);
    EXPECT_EQ(DateTimeToStrX_noms(PeTimeStampToDateTime(0)), L"1970-01-01 03:00:00");
    EXPECT_EQ(DateTimeToStrX_noms(PeTimeStampToDateTime(0xFFFFFFFF)), L"2106-02-07 09:28:15");
}

TEST_F(PeHeader, FieldsBeyondTheEndReadAsZero) {
    std::string truncated = ImageStart(1222792734);
    truncated.resize(0x80 + 10); // ends inside the time stamp
    std::string farOffset = ImageStart(1222792734);
    PutLe32(farOffset, 0x3C, 0xFFFFFFF8); // offset + 8 would wrap in 32 bits
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"truncated.exe", truncated},
        {"short.exe", std::string("MZ\x90\x00\x03", 5)},
        {"empty.exe", ""},
        {"far.exe", farOffset},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetExePeTimeStamp(fs_, Write(c.name, c.bytes)), 0u) << c.name;
    }
}

TEST_F(PeHeader, RaisesOnlyWhenTheFileCannotBeOpened) {
    std::filesystem::create_directories(dir_ / "folder.exe");
    for (const char* name : {"missing.exe", "folder.exe"}) {
        const std::wstring path = Utf8ToString((dir_ / name).string());
        EXPECT_THROW(GetExePeTimeStamp(fs_, path), TorvikError) << name;
        EXPECT_THROW(GetExePeDateTime(fs_, path), TorvikError) << name;
    }
}

} // namespace
} // namespace torvik
