#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "EntryFields.h"
#include "TempDir.h"
#include "server/CatalogueFile.h"
#include "server/DemoCatalogue.h"
#include "server/ProgramLines.h"
#include "server/SqliteStorage.h"

namespace torvik::server {
namespace {

using ::testing::HasSubstr;
using testing::TempDir;

// A catalogue file with one program a line: the first on line 3.
std::string Programs(const std::vector<std::string>& programs) {
    std::string text = "{\n  \"programs\": [\n";
    for (size_t i = 0; i < programs.size(); ++i) {
        text += "    " + programs[i] + (i + 1 < programs.size() ? ",\n" : "\n");
    }
    return text + "  ]\n}\n";
}

// A good program with one field replaced or added (a null value drops it).
std::string ProgramWith(const std::string& field, const std::string& jsonValue) {
    std::string text = "{";
    bool replaced = false;
    for (const auto& [name, value] : {std::pair{"name", "\"A\""}, std::pair{"exe", "\"a.exe\""},
                                      std::pair{"latest_version", "\"1.0\""}}) {
        const bool match = field == name;
        replaced = replaced || match;
        if (!(match && jsonValue == "null")) {
            text += std::string(text.size() > 1 ? ", " : "") + "\"" + name +
                    "\": " + (match ? jsonValue : value);
        }
    }
    if (!replaced) {
        text += ", \"" + field + "\": " + jsonValue;
    }
    return text + "}";
}

std::string ErrorOf(const std::string& text) {
    try {
        ParseCatalogueText(text);
    } catch (const CatalogueFileError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(CatalogueFileTest, RefusesMalformedJsonAtItsLineAndColumn) {
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        // The column is that of the last character read: the end of "exe".
        {"{\n  \"programs\": [\n    {\"name\": \"A\" \"exe\": \"a.exe\"}\n  ]\n}",
         "line 3, column 22: malformed JSON: syntax error while parsing object - unexpected string "
         "literal; expected '}'"},
        {"{\n  \"programs\": [\n    {\"name\": \"A\"",
         "line 3, column 17: malformed JSON: syntax error while parsing object - unexpected end of "
         "input; expected '}'"},
        {"{\"programs\": [\n{\"name\": \"\xC3(\"}]}",
         "line 2, column 12: malformed JSON: syntax error while parsing value - invalid string: "
         "ill-formed UTF-8 byte; last read: '\"\xC3('"},
        {"", "line 1, column 1: malformed JSON: syntax error while parsing value - unexpected end "
             "of input; expected '[', '{', or a literal"},
        {"{\"programs\": []}\n\n  x",
         "line 3, column 3: malformed JSON: syntax error while parsing value - invalid literal; "
         "last read: '\"programs\": []}<U+000A><U+000A>  x'; expected end of input"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(c.text), c.error) << c.text;
    }
}

TEST(CatalogueFileTest, RefusesWrongContentAtTheLineOfTheEntryOrField) {
    const std::string long1001(1001, 'x');
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"[]", "line 1: the file must hold a JSON object with a \"programs\" array"},
        {"\n{\n}", "line 2: \"programs\" is missing"},
        {"{\"programs\": {}}", "line 1: programs: must be an array, not object"},
        {"{\"programs\": [],\n \"extra\": 1}", "line 2: unknown field \"extra\""},
        {Programs({ProgramWith("name", "\"A\""), "{\"name\": \"B\", \"latest_version\": \"1\"}"}),
         "line 4: programs[1]: \"exe\" is missing"},
        {Programs({ProgramWith("latest_version", "null")}),
         "line 3: programs[0]: \"latest_version\" is missing"},
        {Programs({ProgramWith("name", "5")}),
         "line 3: programs[0].name: must be a string, not number"},
        {Programs({ProgramWith("comments", "[\"a\"]")}),
         "line 3: programs[0].comments: must be a string, not array"},
        {Programs({ProgramWith("has_icon", "\"yes\"")}),
         "line 3: programs[0].has_icon: must be true or false, not string"},
        {Programs({ProgramWith("name", "\"\"")}), "line 3: programs[0].name: must not be empty"},
        {Programs({ProgramWith("name", "\"A\\r\\nB\"")}),
         "line 3: programs[0].name: \"A\\r\\nB\" contains a line break"},
        {Programs({ProgramWith("exe", "\"C:\\\\b.exe\"")}),
         "line 3: programs[0].exe: \"C:\\\\b.exe\" contains \"\\\\\""},
        {Programs({ProgramWith("exe", "\"a/b.exe\"")}),
         "line 3: programs[0].exe: \"a/b.exe\" contains \"/\""},
        {Programs({ProgramWith("exe", "\"a|b.exe\"")}),
         "line 3: programs[0].exe: \"a|b.exe\" contains \"|\""},
        {Programs({ProgramWith("exe", "\"b.com\"")}),
         "line 3: programs[0].exe: \"b.com\" does not end in \".exe\""},
        {Programs({ProgramWith("exe", "\"exe\"")}),
         "line 3: programs[0].exe: \"exe\" does not end in \".exe\""},
        {Programs({ProgramWith("comments", "\"" + long1001 + "\"")}),
         "line 3: programs[0].comments: longer than 1000 bytes"},
        {Programs({ProgramWith("downlaod_url", "\"u\"")}),
         "line 3: programs[0]: unknown field \"downlaod_url\""},
        {Programs(
             {"{\"name\": \"A\", \"exe\": \"a.exe\", \"latest_version\": \"1\", \"name\": \"B\"}"}),
         "line 3: programs[0].name: given twice"},
        {Programs({ProgramWith("name", "\"A\""), ProgramWith("name", "\"a\"")}),
         "line 4: programs[1]: the same name and exe as programs[0]"},
        // A number's end is known only from the character after it, here a line break.
        {Programs({ProgramWith("name", "\"A\""), "1"}),
         "line 4: programs[1]: must be an object, not number"},
        {Programs({"null"}), "line 3: programs[0]: must be an object, not null"},
        // The example of CatalogueFile.h, with entries spread over lines.
        {"{\n"
         "  \"programs\": [\n"
         "    {\"name\": \"A\", \"exe\": \"a.exe\", \"latest_version\": \"1\"},\n"
         "    {\"name\": \"B\", \"exe\": \"b.exe\",\n"
         "     \"latest_version\": \"2\"},\n"
         "    {\"name\": \"C\", \"exe\": \"c.exe\",\n"
         "     \"latest_version\": \"1.x\"}\n"
         "  ]\n"
         "}\n",
         "line 7: programs[2].latest_version: \"1.x\" is not a version"},
        // CR LF line ends count once; a missing field is reported at its entry.
        {"\xEF\xBB\xBF{\"programs\": [\r\n  {\r\n    \"name\": \"A\",\r\n    \"exe\": \"a.exe\"\r\n"
         "  }\r\n]}\r\n",
         "line 2: programs[0]: \"latest_version\" is missing"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(c.text), c.error) << c.text;
    }
}

TEST(CatalogueFileTest, VersionsAreOneToFourNumbersUpTo65535) {
    for (const char* good : {"0", "1.2", "1.3.0.0", "65535.65535.65535.65535", "007.1"}) {
        EXPECT_TRUE(IsCatalogueVersion(good)) << good;
        EXPECT_EQ(
            ErrorOf(Programs({ProgramWith("latest_version", std::string("\"") + good + "\"")})),
            "(accepted)");
    }
    for (const char* bad : {"", "1.2.3.4.5", "65536", "1..2", "1.", ".1", "-1", "+1", "1.0 ", "1,0",
                            "1.x", "99999999999999999999", "\xD9\xA1"}) {
        EXPECT_FALSE(IsCatalogueVersion(bad)) << bad;
    }
    EXPECT_EQ(ErrorOf(Programs({ProgramWith("latest_version", "\"1.2.3.4.5\"")})),
              "line 3: programs[0].latest_version: \"1.2.3.4.5\" is not a version");
}

TEST(CatalogueFileTest, ReadsEveryFieldAndDefaultsTheOptionalOnes) {
    const std::string comments1000(1000, 'c');
    const auto entries = ParseCatalogueText(
        "{\"programs\": [\n"
        " {\"name\": \"Demo \xC3\xBC\", \"exe\": \"Demo.EXE\", \"latest_version\": \"1.2.3.4\",\n"
        "  \"product_url\": \"https://example.org/p?a=1&b='2'\", \"download_url\": \"d|x\",\n"
        "  \"comments\": \"" +
        comments1000 +
        "\", \"has_icon\": true},\n"
        " {\"latest_version\": \"2\", \"exe\": \"b.exe\", \"name\": \"B\"}\n"
        "]}");
    EXPECT_EQ(Fields(entries), (std::vector<EntryFields>{{"Demo \xC3\xBC", "Demo.EXE", "1.2.3.4",
                                                          "https://example.org/p?a=1&b='2'", "d|x",
                                                          comments1000, true},
                                                         {"B", "b.exe", "2", "", "", "", false}}));
    EXPECT_TRUE(ParseCatalogueText("{\"programs\": []}").empty());
}

TEST(CatalogueFileTest, ReadsAFileAndABadFileImportsNothing) {
    TempDir dir;
    dir.Write("good.json", Programs({ProgramWith("name", "\"New\"")}));
    dir.Write("bad.json", Programs({ProgramWith("name", "\"Other\""),
                                    ProgramWith("latest_version", "\"1.x\"")}));
    auto storage = SqliteStorage::InMemory();
    storage->ImportCatalogue(ReadCatalogueFile(dir.Native("good.json").string()));
    const auto before = Fields(storage->LoadCatalogue());
    ASSERT_EQ(before.size(), 1u);

    try {
        storage->ImportCatalogue(ReadCatalogueFile(dir.Native("bad.json").string()));
        ADD_FAILURE() << "the bad file was read";
    } catch (const CatalogueFileError& e) {
        EXPECT_THAT(e.what(), HasSubstr("line 4: programs[1].latest_version"));
    }
    EXPECT_EQ(Fields(storage->LoadCatalogue()), before);

    try {
        ReadCatalogueFile(dir.Native("missing.json").string());
        ADD_FAILURE() << "a missing file was read";
    } catch (const CatalogueFileError& e) {
        EXPECT_THAT(e.what(), HasSubstr("missing.json"));
    }
}

TEST(CatalogueFileTest, ProgramKeysLowerOnlyAsciiLetters) {
    EXPECT_EQ(KeyOf("Demo APP_1.EXE"), "demo app_1.exe");
    EXPECT_EQ(KeyOf("\xC3\x89t\xC3\xA9 [Z]@`"), "\xC3\x89t\xC3\xA9 [z]@`");
}

} // namespace
} // namespace torvik::server
