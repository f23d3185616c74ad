#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/Utf8.h"
#include "fakes/FakeFileSystem.h"
#include "platform/posix/PosixFileSystem.h"

namespace torvik {
namespace {

// The default implementation (through the in-memory fake) and the POSIX one
// must agree on every range.
TEST(ReadFileRange, ReadsTheRangeThatExists) {
    const std::string content = "0123456789";
    const auto dir =
        std::filesystem::temp_directory_path() / ("torvik_range_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "folder");
    std::ofstream(dir / "f.bin", std::ios::binary) << content;
    PosixFileSystem posix;
    testing::FakeFileSystem fake;
    fake.AddFile(L"C:\\f.bin", content);
    fake.AddFolder(L"C:\\folder");

    const struct {
        uint64_t offset;
        size_t count;
        std::string bytes;
    } cases[] = {
        {0, 4, "0123"},
        {6, 4, "6789"},
        {8, 4, "89"},
        {10, 4, ""},
        {11, 4, ""},
        {3, 0, ""},
        {uint64_t{1} << 40, 4, ""},
    };
    const std::wstring posixFile = Utf8ToString((dir / "f.bin").string());
    for (const auto& c : cases) {
        EXPECT_EQ(posix.ReadFileRange(posixFile, c.offset, c.count), c.bytes) << c.offset;
        EXPECT_EQ(fake.ReadFileRange(L"C:\\f.bin", c.offset, c.count), c.bytes) << c.offset;
    }
    EXPECT_EQ(posix.ReadFileRange(Utf8ToString((dir / "none").string()), 0, 4), std::nullopt);
    EXPECT_EQ(posix.ReadFileRange(Utf8ToString((dir / "folder").string()), 0, 4), std::nullopt);
    EXPECT_EQ(fake.ReadFileRange(L"C:\\none", 0, 4), std::nullopt);
    EXPECT_EQ(fake.ReadFileRange(L"C:\\folder", 0, 4), std::nullopt);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace torvik
