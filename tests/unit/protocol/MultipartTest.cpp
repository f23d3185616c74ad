#include <gtest/gtest.h>

#include "protocol/Multipart.h"

namespace torvik {
namespace {

const std::string kB = "-----------------------------7cf87224d2020a";

std::string TextPart(const std::string& name, const std::string& value) {
    return "--" + kB + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value +
           "\r\n";
}

TEST(Multipart, BodyByteForByteTextPartsFirstThenFilesThenClosingLine) {
    MultipartFields fields;
    fields.AddText(L"build", L"67");
    fields.AddBinary(L"data", L"", std::string("\x00\x01\r\n", 4));
    fields.AddText(L"header", L"h\u00fc");
    fields.AddText(L"mode", L"check_for_updates");
    fields.AddBinary(L"icon", L"C:\u00e4.ico", "ICO");
    const std::string expected =
        TextPart("build", "67") + TextPart("header", "h\xc3\xbc") +
        TextPart("mode", "check_for_updates") + "--" + kB +
        "\r\nContent-Disposition: form-data; name=\"data\"; filename=\"\"\r\n"
        "Content-Transfer-Encoding: binary\r\n\r\n" +
        std::string("\x00\x01\r\n", 4) + "\r\n" + "--" + kB +
        "\r\nContent-Disposition: form-data; name=\"icon\"; filename=\"C:\xc3\xa4.ico\"\r\n"
        "Content-Transfer-Encoding: binary\r\n\r\nICO\r\n" +
        "--" + kB + "--\r\n";
    EXPECT_EQ(BuildMultipartBody(fields, Latin1CodePage()), expected);
}

TEST(Multipart, FieldNamesTravelInTheAnsiCodePage) {
    MultipartFields fields;
    fields.AddText(L"n\u00e4me", L"v");
    EXPECT_EQ(BuildMultipartBody(fields, Latin1CodePage()),
              TextPart("n\xe4me", "v") + "--" + kB + "--\r\n");
}

TEST(Multipart, ReaddingANameReplacesInPlaceCaseSensitively) {
    MultipartFields fields;
    fields.AddText(L"mode", L"a");
    fields.AddText(L"x", L"1");
    fields.AddText(L"mode", L"b");
    fields.AddText(L"Mode", L"c");
    ASSERT_EQ(fields.TextFields().size(), 3u);
    EXPECT_EQ(fields.TextFields()[0].name, L"mode");
    EXPECT_EQ(fields.TextFields()[0].value, L"b");
    EXPECT_EQ(fields.TextFields()[2].name, L"Mode");
    fields.AddBinary(L"f", L"a.txt", "1");
    fields.AddBinary(L"f", L"b.txt", "2");
    ASSERT_EQ(fields.BinaryFields().size(), 1u);
    EXPECT_EQ(fields.BinaryFields()[0].fileName, L"b.txt");
    EXPECT_EQ(fields.BinaryFields()[0].value, "2");
    EXPECT_FALSE(fields.Empty());
    fields.Clear();
    EXPECT_TRUE(fields.Empty());
}

TEST(UrlEncodedBody, ValuesAreEncodedNamesAreNot) {
    MultipartFields fields;
    EXPECT_EQ(BuildUrlEncodedBody(fields, Latin1CodePage()), "");
    fields.AddText(L"q", L"a b/\u00fc");
    fields.AddText(L"n&m", L"1");
    EXPECT_EQ(BuildUrlEncodedBody(fields, Latin1CodePage()), "q=a%20b%2F%C3%BC&n&m=1");
}

TEST(Multipart, FileNamePart) {
    EXPECT_EQ(FileNamePart(L"C:\\dir\\a.txt"), L"a.txt");
    EXPECT_EQ(FileNamePart(L"dir/b.bin"), L"b.bin");
    EXPECT_EQ(FileNamePart(L"c.dat"), L"c.dat");
}

} // namespace
} // namespace torvik
