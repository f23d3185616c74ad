#include <zlib.h>

#include <gtest/gtest.h>

#include <string>

#include "PngSamples.h"
#include "server/PngCheck.h"

namespace torvik::server {
namespace {

std::string Be32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

// One chunk with its length and a correct CRC.
std::string Chunk(const std::string& type, const std::string& data) {
    const std::string typed = type + data;
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(typed.data()),
                            static_cast<uInt>(typed.size()));
    return Be32(static_cast<uint32_t>(data.size())) + typed + Be32(static_cast<uint32_t>(crc));
}

std::string Ihdr(uint32_t w, uint32_t h, char depth = 8, char colour = 6, char interlace = 0) {
    return Chunk("IHDR", Be32(w) + Be32(h) + std::string{depth, colour, 0, 0, interlace});
}

std::string Deflate(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 9);
    out.resize(size);
    return out;
}

// The filtered rows of an RGBA image of side x side: filter byte, then pixels.
std::string Rows(uint32_t side, char filter = 0, uint32_t rows = 0) {
    std::string raw;
    for (uint32_t y = 0; y < (rows ? rows : side); ++y) {
        raw += filter;
        raw += std::string(side * 4, static_cast<char>(y));
    }
    return raw;
}

const std::string kSignature("\x89PNG\r\n\x1a\n", 8);

std::string Png(const std::string& body) {
    return kSignature + body + Chunk("IEND", "");
}

// A 16 x 16 RGBA image, chunk by chunk.
std::string Valid() {
    return Png(Ihdr(16, 16) + Chunk("IDAT", Deflate(Rows(16))));
}

TEST(PngFault, TakesValidImages) {
    EXPECT_EQ(PngFault(Valid(), 256), std::nullopt);
    EXPECT_EQ(PngFault(EncodedPng(32), 256), std::nullopt);
    EXPECT_EQ(PngFault(EncodedPng(256), 256), std::nullopt);
    // Ancillary chunks, also unknown ones, and IDAT split in two.
    const std::string data = Deflate(Rows(16));
    EXPECT_EQ(PngFault(Png(Ihdr(16, 16) + Chunk("tEXt", std::string("Title\0x", 7)) +
                           Chunk("IDAT", data.substr(0, 10)) + Chunk("IDAT", data.substr(10)) +
                           Chunk("zzZz", "private")),
                       256),
              std::nullopt);
    // A palette image with its palette; an interlaced grey image.
    EXPECT_EQ(PngFault(Png(Ihdr(2, 2, 8, 3) + Chunk("PLTE", std::string(6, 'p')) +
                           Chunk("IDAT", Deflate(std::string("\0\0\1\0\1\0", 6)))),
                       256),
              std::nullopt);
}

TEST(PngFault, RefusesEveryFault) {
    const std::string valid = Valid();
    const std::string idat = Chunk("IDAT", Deflate(Rows(16)));
    const std::string iend = Chunk("IEND", "");
    const struct {
        const char* what;
        std::string bytes;
        const char* reason; // a part of the fault's text
    } cases[] = {
        {"nothing", "", "no PNG signature"},
        {"another format", "GIF89a" + valid.substr(6), "no PNG signature"},
        {"the signature alone", kSignature, "cut short"},
        {"cut in IDAT", valid.substr(0, valid.size() - 20), "cut short"},
        {"a flipped CRC bit",
         [&] {
             std::string b = valid;
             b[8 + 8 + 13] ^= 1; // first CRC byte of IHDR
             return b;
         }(),
         "CRC of chunk IHDR"},
        {"a flipped data bit",
         [&] {
             std::string b = valid;
             b[b.size() - 12 - 10] ^= 0x40; // inside IDAT, its CRC unchanged
             return b;
         }(),
         "CRC of chunk IDAT"},
        {"IDAT first", kSignature + idat + Ihdr(16, 16) + iend, "IHDR is not the first"},
        {"a short IHDR", Png(Chunk("IHDR", std::string(12, '\1')) + idat), "13 bytes"},
        {"no width", Png(Ihdr(0, 16) + idat), "0 x 16 pixels"},
        {"too wide", Png(Ihdr(257, 16) + idat), "257 x 16 pixels"},
        {"too high", Png(Ihdr(16, 100000) + idat), "16 x 100000 pixels"},
        {"colour type 5", Png(Ihdr(16, 16, 8, 5) + idat), "colour type or bit depth"},
        {"a 16-bit palette", Png(Ihdr(16, 16, 16, 3) + idat), "colour type or bit depth"},
        {"interlace method 2", Png(Ihdr(16, 16, 8, 6, 2) + idat), "interlace"},
        {"two IHDR", Png(Ihdr(16, 16) + Ihdr(16, 16) + idat), "second IHDR"},
        {"no image data", Png(Ihdr(16, 16)), "no image data"},
        {"a palette image without PLTE", Png(Ihdr(16, 16, 8, 3) + idat), "without PLTE"},
        {"a PLTE of 4 bytes", Png(Ihdr(16, 16, 8, 3) + Chunk("PLTE", "abcd") + idat), "PLTE"},
        {"IDAT apart", Png(Ihdr(16, 16) + idat + Chunk("tEXt", "a") + idat), "not together"},
        {"an unknown critical chunk", Png(Ihdr(16, 16) + Chunk("ABCD", "") + idat), "ABCD"},
        {"a chunk type of digits", Png(Ihdr(16, 16) + Chunk("12ab", "") + idat), "four letters"},
        {"no IEND", kSignature + Ihdr(16, 16) + idat, "cut short"},
        {"IEND with data", kSignature + Ihdr(16, 16) + idat + Chunk("IEND", "x"), "IEND holds"},
        {"bytes after IEND", valid + "junk", "bytes follow IEND"},
        {"image data that is no zlib stream", Png(Ihdr(16, 16) + Chunk("IDAT", Rows(16))),
         "cannot be decoded"},
        {"rows missing", Png(Ihdr(16, 16) + Chunk("IDAT", Deflate(Rows(16, 0, 15)))),
         "cannot be decoded"},
        {"an unknown row filter", Png(Ihdr(16, 16) + Chunk("IDAT", Deflate(Rows(16, 7)))),
         "cannot be decoded"},
    };
    for (const auto& c : cases) {
        const auto fault = PngFault(c.bytes, 256);
        ASSERT_TRUE(fault.has_value()) << c.what;
        EXPECT_NE(fault->find(c.reason), std::string::npos) << c.what << ": " << *fault;
    }
}

} // namespace
} // namespace torvik::server
