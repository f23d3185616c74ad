#include <gtest/gtest.h>

#include "server/PackedVersion.h"
#include "server/ProgramLines.h"

namespace torvik::server {
namespace {

using Version = std::array<uint32_t, 4>;

TEST(PackedVersion, RoundTripsAndWritesTheClientsPaddedText) {
    const struct {
        Version version;
        const char* text;
    } cases[] = {
        {{0, 0, 0, 0}, "00000.00000.00000.00000"},
        {{1, 2, 3, 4}, "00001.00002.00003.00004"},
        {{10, 0, 2, 100}, "00010.00000.00002.00100"},
        {{65535, 65535, 65535, 65535}, "65535.65535.65535.65535"},
        {{0, 65535, 0, 1}, "00000.65535.00000.00001"},
    };
    for (const auto& c : cases) {
        const PackedVersion packed = PackVersion(c.version);
        EXPECT_EQ(UnpackVersion(packed), c.version) << c.text;
        EXPECT_EQ(VersionXOf(packed), c.text);
        EXPECT_EQ(FormatVersionX(c.version), c.text);
        PackedVersion read = 0;
        ASSERT_TRUE(ParseVersionX(c.text, read)) << c.text;
        EXPECT_EQ(read, packed) << c.text;
        std::string appended = "x|";
        AppendVersionX(appended, packed);
        EXPECT_EQ(appended, std::string("x|") + c.text);
    }
}

TEST(PackedVersion, OrdersAsTheVersionsAndTheirTextsDo) {
    const Version ordered[] = {{0, 0, 0, 0}, {0, 0, 0, 1},     {0, 0, 1, 0}, {0, 1, 0, 0},
                               {1, 0, 0, 0}, {1, 0, 0, 65535}, {1, 2, 3, 4}, {1, 65535, 0, 0},
                               {2, 0, 0, 0}, {65535, 0, 0, 0}};
    for (size_t i = 0; i + 1 < std::size(ordered); ++i) {
        const PackedVersion a = PackVersion(ordered[i]), b = PackVersion(ordered[i + 1]);
        EXPECT_LT(a, b) << i;
        EXPECT_LT(VersionXOf(a), VersionXOf(b)) << i;
    }
}

TEST(PackedVersion, RefusesTextsTheServiceDoesNotWrite) {
    for (const char* text :
         {"", "1.2.3.4", "00001.00002.00003", "00001.00002.00003.0000x", "65536.00000.00000.00000",
          "00001-00002.00003.00004", "00001.00002.00003.000040", " 0001.00002.00003.00004"}) {
        PackedVersion packed = 0;
        EXPECT_FALSE(ParseVersionX(text, packed)) << text;
    }
}

} // namespace
} // namespace torvik::server
