#include <gtest/gtest.h>

#include "protocol/Cipher.h"
#include "protocol/Encodings.h"
#include "protocol/UrlEncode.h"

namespace torvik {
namespace {

TEST(Hex, Bin2HexWritesTwoUpperCaseDigitsPerByte) {
    EXPECT_EQ(Bin2Hex(std::string("\x00\x0f\xa0\xff", 4)), "000FA0FF");
    EXPECT_EQ(Bin2Hex(""), "");
}

TEST(Hex, Hex2BinDecodesPairsIgnoresOddTailAndReadsBadDigitsAsZero) {
    struct Case {
        std::string hex;
        std::string bytes;
    };
    const Case cases[] = {
        {"000FA0FF", std::string("\x00\x0f\xa0\xff", 4)},
        {"a0ff", "\xa0\xff"},
        {"4G1", "\x40"}, // G reads as 0, the odd "1" is dropped
        {"7", ""},
        {"", ""},
        {"ZZ", std::string(1, '\0')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Hex2Bin(c.hex), c.bytes) << c.hex;
    }
}

TEST(Hex, DigitsAndPairs) {
    EXPECT_EQ(HexDigit('9'), 9);
    EXPECT_EQ(HexDigit('b'), 11);
    EXPECT_EQ(HexDigit('F'), 15);
    EXPECT_EQ(HexDigit('g'), 0);
    EXPECT_EQ(DecodeHEXChr('f', 'E'), 254);
}

TEST(Base64, EncodesWithPaddingPerRfc4648) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {std::string("\xff\xfe\x00", 3), "//4A"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(B64Encode(in), out) << in;
    }
}

TEST(Base64, BreakUUAddsCarriageReturnAfterEvery64thCharacter) {
    const std::string a63(63, 'A');
    const std::string a64(64, 'A');
    EXPECT_EQ(BreakUU(""), "");
    EXPECT_EQ(BreakUU(a63), a63);
    EXPECT_EQ(BreakUU(a64), a64 + "\r");
    EXPECT_EQ(BreakUU(a64 + "B"), a64 + "\rB");
    EXPECT_EQ(BreakUU(a64 + a64), a64 + "\r" + a64 + "\r");
}

TEST(UrlEncode, Level1EscapesAsciiOutsideTheSafeSet) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"a b/c", L"a%20b%2Fc"},
        {L"x%41", L"x%2541"},
        {L"100%", L"100%25"},
        {L"?q=1&x=a:b", L"?q=1&x=a%3Ab"},
        {L"AZaz09&+-.=?_~@", L"AZaz09&+-.=?_~@"},
        {L"\r\n\"#", L"%0D%0A%22%23"},
        {L"\u00fc", L"\u00fc"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(HttpEncode_level1(in), out);
    }
}

TEST(UrlEncode, ExEscapesEveryUtf8ByteOfNonAscii) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"a b/c", L"a%20b%2Fc"},         {L"x%41", L"x%2541"},
        {L"\u00fc", L"%C3%BC"},           {L"?n=\u20ac 1", L"?n=%E2%82%AC%201"},
        {L"\U0001F600", L"%F0%9F%98%80"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(HttpEncodeEx(in), out);
        EXPECT_EQ(EncodeURLEx(in), out);
    }
}

TEST(Cipher, KnownVectorsUnderKey38461) {
    EXPECT_EQ(EncryptX(std::string("Hello"), 38461), "DED45006FD");
    EXPECT_EQ(EncryptX(std::string("[programs]\r\nA|1.0"), 38461),
              "CDDEF9130693919E0CA4E588CC86329428");
    EXPECT_EQ(DecryptX("DED45006FD", 38461), "Hello");
}

TEST(Cipher, RoundTripsAllByteValuesAndNeedsTheSameKey) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    for (const uint32_t key : {0u, 1u, 38461u, 65535u, 0xFFFFFFFFu}) {
        const std::string hex = EncryptX(all, key);
        EXPECT_EQ(hex.size(), 2 * all.size());
        EXPECT_EQ(DecryptX(hex, key), all) << key;
        EXPECT_NE(DecryptX(hex, key + 256), all) << key;
    }
    EXPECT_EQ(Encrypt("", 38461), "");
}

TEST(Cipher, OneByteInputChangesOnlyThatByte) {
    EXPECT_EQ(Encrypt("A", 38461).size(), 1u);
    EXPECT_EQ(Encrypt("A", 38461), std::string(1, static_cast<char>('A' ^ (38461 >> 8))));
}

TEST(Cipher, TextFormEncryptsUtf8) {
    const std::wstring hex = EncryptX(std::wstring(L"\u00fc"), 38461);
    EXPECT_EQ(DecryptX(std::string(hex.begin(), hex.end()), 38461), "\xc3\xbc");
}

} // namespace
} // namespace torvik
