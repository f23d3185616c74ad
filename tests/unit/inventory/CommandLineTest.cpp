#include <gtest/gtest.h>

#include "inventory/CommandLine.h"

namespace torvik {
namespace {

TEST(CommandLine, ParamIdxMatchesExactlyThenWithSlash) {
    const CommandLine args({L"first", L"/nomutex", L"autorun", L"-debug", L"/"});
    struct Case {
        const wchar_t* name;
        int index;
    };
    const Case cases[] = {
        {L"first", 1},  {L"nomutex", 2}, {L"/nomutex", 2}, {L"autorun", 3}, {L"/autorun", 3},
        {L"debug", -1}, {L"-debug", 4},  {L"NOMUTEX", -1}, {L"", -1},       {L"/", 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(args.ParamIdx(c.name), c.index) << c.name;
        EXPECT_EQ(args.IsParam(c.name), c.index != -1) << c.name;
    }
    EXPECT_EQ(CommandLine().ParamIdx(L"nomutex"), -1);
}

TEST(CommandLine, GetParamReadsBothSeparators) {
    struct Case {
        std::vector<std::wstring> args;
        const wchar_t* name;
        const wchar_t* value;
    };
    const Case cases[] = {
        {{L"/name=value"}, L"name", L"value"},
        {{L"name:value"}, L"name", L"value"},
        {{L"/name:value"}, L"name", L"value"},
        {{L"name:value"}, L"/name", L"value"},
        {{L"name:a=b"}, L"name", L"a=b"}, // the first separator counts
        {{L"name=a:b"}, L"name", L"a:b"},
        {{L"names=x"}, L"name", L""}, // a longer name does not match
        {{L"nam=x"}, L"name", L""},
        {{L"Name=x"}, L"name", L""}, // case-sensitive
        {{L"name"}, L"name", L""},   // no separator, no value
        {{L"name="}, L"name", L""},
        {{L"a=1", L"name=2", L"name=3"}, L"name", L"2"},
        {{L"local_url1=http://127.0.0.1:1245/x?a=1&b=\"q\""},
         L"local_url1",
         L"http://127.0.0.1:1245/x?a=1&b=\"q\""},
        {{L"InstallationPath=C:\\Program Files (x86)\\\u00e4 \u00f6\\"},
         L"InstallationPath",
         L"C:\\Program Files (x86)\\\u00e4 \u00f6\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommandLine(c.args).GetParam(c.name), c.value) << c.args.front();
    }
}

} // namespace
} // namespace torvik
