#include <gtest/gtest.h>
#include <zlib.h>

#include "common/Error.h"
#include "protocol/Compression.h"

namespace torvik {
namespace {

const std::string kMarker(kCompressedReplyMarker, kCompressedReplyMarkerSize);

// A gzip member as any standard writer makes it (modification time 0).
std::string Gzip(const std::string& data) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 6, Z_DEFLATED, 16 + 15, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&z, data.size()) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

TEST(ZlibCompress, Level1StreamsAreCompleteRfc1950) {
    EXPECT_EQ(ZlibCompressByteString(""), std::string("\x78\x01\x03\x00\x00\x00\x00\x01", 8));
    EXPECT_EQ(ZlibCompressByteString("hello hello hello"),
              std::string("\x78\x01\xcb\x48\xcd\xc9\xc9\x57\xc8\x40\x90\x00\x3a\x2e\x06\x7d", 16));
    const std::string text = ZlibCompressText(L"Notepad++|8.1\u00fc");
    EXPECT_EQ(text.substr(0, 2), "\x78\x01");
    EXPECT_EQ(ZlibDecompressByteString(text), "Notepad++|8.1\xc3\xbc");
}

TEST(CheckAndDecompress, BodiesWithoutTheMarkerStayAsTheyAre) {
    const std::string gzipWithTime = [] {
        std::string g = Gzip("payload");
        g[4] = '\x01'; // a non-zero modification time
        return g;
    }();
    for (const std::string& body :
         {std::string(), std::string("[status]\r\nok"), kMarker.substr(0, 7), gzipWithTime}) {
        std::string copy = body;
        CheckAndDecompress(copy, 'Z');
        EXPECT_EQ(copy, body);
    }
}

TEST(CheckAndDecompress, ZlibAfterMarkerDecodesWithEveryDefaultLetter) {
    const std::string reply = "[programs]\r\nA|1.0\r\n";
    for (const char letter : {'\0', 'Z', 'x'}) {
        std::string body = kMarker + ZlibCompressByteString(reply);
        CheckAndDecompress(body, letter);
        EXPECT_EQ(body, reply) << static_cast<int>(letter);
    }
}

TEST(CheckAndDecompress, GzipMemberFailsZAndIsDecodedAsG) {
    const std::string reply(5000, 'q');
    for (const char letter : {'Z', 'G'}) {
        std::string body = Gzip(reply);
        ASSERT_EQ(body.substr(0, 8), kMarker);
        CheckAndDecompress(body, letter);
        EXPECT_EQ(body, reply);
    }
}

TEST(CheckAndDecompress, CorruptDataEndsAsWhatTheGzipDecoderCouldRead) {
    std::string body = kMarker + std::string(16, '\xff');
    CheckAndDecompress(body, 'Z');
    EXPECT_EQ(body, "");
    const std::string full = Gzip("complete text");
    std::string truncated = full.substr(0, full.size() - 6);
    CheckAndDecompress(truncated, 'G');
    EXPECT_EQ(truncated, "complete text");
}

TEST(CheckAndDecompress, OutputBeyondTheLimitIsAnError) {
    const std::string big(5000, 'a');
    for (const char letter : {'Z', 'G'}) {
        std::string zlibBody = kMarker + ZlibCompressByteString(big);
        EXPECT_THROW(CheckAndDecompress(zlibBody, letter, 4999), TorvikError);
        std::string gzipBody = Gzip(big);
        EXPECT_THROW(CheckAndDecompress(gzipBody, letter, 4999), TorvikError);
        std::string exact = kMarker + ZlibCompressByteString(big);
        CheckAndDecompress(exact, letter, 5000);
        EXPECT_EQ(exact, big);
    }
}

TEST(CheckAndDecompress, DefaultLimitStopsAReplyThatExpandsPastIt) {
    std::string bomb = Gzip(std::string(kMaxDecompressedSize + 1, '\0'));
    EXPECT_LT(bomb.size(), 100u * 1024);
    try {
        CheckAndDecompress(bomb, 'G');
        FAIL() << "no error";
    } catch (const TorvikError& e) {
        EXPECT_NE(e.Message().find(L"limit"), std::wstring::npos);
    }
}

TEST(DecompressStream, LettersAndErrors) {
    EXPECT_FALSE(DecompressStream(kMarker + ZlibCompressByteString("x"), 'Q').has_value());
    EXPECT_EQ(DecompressStream(kMarker + ZlibCompressByteString("x"), 'Z'), "x");
    try {
        DecompressStream(kMarker + "garbage!", 'Z');
        FAIL() << "no error";
    } catch (const TorvikError& e) {
        EXPECT_EQ(e.Message(), L"data error");
    }
    const std::string z = ZlibCompressByteString("truncated stream text");
    EXPECT_THROW(DecompressStream(kMarker + z.substr(0, z.size() - 3), 'Z'), TorvikError);
    EXPECT_THROW(ZlibDecompressByteString(z.substr(0, 4)), TorvikError);
}

} // namespace
} // namespace torvik
