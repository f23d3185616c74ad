#include <gtest/gtest.h>

#include <string>

#include "protocol/Compression.h"
#include "server/Inflate.h"

namespace torvik::server {
namespace {

// What the client library's streaming inflate makes of a stream: the
// service must accept and refuse the same streams.
Inflated WithZlib(const std::string& stream, size_t maxOutput) {
    try {
        return {Inflated::Outcome::Ok, ZlibDecompressByteString(stream, maxOutput)};
    } catch (const EDecompressedTooLarge&) {
        return {Inflated::Outcome::TooLarge, {}};
    } catch (const TorvikError&) {
        return {Inflated::Outcome::NotZlib, {}};
    }
}

std::string Repeated(const std::string& piece, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

TEST(InflateZlib, AcceptsAndRefusesWhatZlibDoes) {
    const std::string line = "Demo App|\\Demo\\|scanfix_app.exe|1.2.3 build:4|"
                             "00001.00002.00003.00004|1|2|3|4|2013-05-01 14:03:09|1234|\r\n";
    const std::string lines = Repeated(line, 300);
    // Inflates to over a thousand times its size: past the first buffer.
    const std::string flat = std::string(4 << 20, 'a');
    const std::string stream = ZlibCompressByteString(lines);
    std::string badChecksum = stream;
    badChecksum.back() ^= 1;
    std::string badData = stream;
    badData[stream.size() / 2] ^= 0x55;
    // A valid header asking for a preset dictionary (FDICT), id 1.
    const std::string presetDictionary =
        std::string("\x78\xBB\x00\x00\x00\x01", 6) + stream.substr(2);
    const struct {
        const char* name;
        std::string stream;
        size_t maxOutput;
        Inflated::Outcome outcome;
    } cases[] = {
        {"empty text", ZlibCompressByteString(""), 100, Inflated::Outcome::Ok},
        {"one line", ZlibCompressByteString(line), 1000, Inflated::Outcome::Ok},
        {"300 lines", stream, 1 << 20, Inflated::Outcome::Ok},
        {"300 lines, exactly the limit", stream, lines.size(), Inflated::Outcome::Ok},
        {"300 lines, one byte over", stream, lines.size() - 1, Inflated::Outcome::TooLarge},
        {"a bomb", ZlibCompressByteString(flat), 16 << 20, Inflated::Outcome::Ok},
        {"a bomb over the limit", ZlibCompressByteString(flat), 1 << 20,
         Inflated::Outcome::TooLarge},
        {"bytes after the stream", stream + "trailing", 1 << 20, Inflated::Outcome::Ok},
        {"no stream at all", "", 100, Inflated::Outcome::NotZlib},
        {"text", "programs", 100, Inflated::Outcome::NotZlib},
        {"truncated", stream.substr(0, stream.size() - 5), 1 << 20, Inflated::Outcome::NotZlib},
        {"wrong checksum", badChecksum, 1 << 20, Inflated::Outcome::NotZlib},
        {"damaged data", badData, 1 << 20, Inflated::Outcome::NotZlib},
        {"preset dictionary", presetDictionary, 1 << 20, Inflated::Outcome::NotZlib},
        {"gzip instead of zlib", "\x1F\x8B\x08\x00\x00\x00\x00\x00" + stream, 1 << 20,
         Inflated::Outcome::NotZlib},
    };
    for (const auto& c : cases) {
        const Inflated inflated = InflateZlib(c.stream, c.maxOutput);
        const Inflated expected = WithZlib(c.stream, c.maxOutput);
        EXPECT_EQ(inflated.outcome, c.outcome) << c.name;
        EXPECT_EQ(expected.outcome, c.outcome) << c.name << " (zlib)";
        EXPECT_TRUE(inflated.bytes == expected.bytes) << c.name;
    }
}

} // namespace
} // namespace torvik::server
