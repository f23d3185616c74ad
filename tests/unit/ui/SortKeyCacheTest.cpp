#include "ui/SortKeyCache.h"

#include <gtest/gtest.h>

#include <map>

namespace torvik {
namespace {

// The ordinal keys, counting how often each text's key was made.
class CountingCompare : public OrdinalTextCompare {
public:
    std::string SortKey(const std::wstring& text) const override {
        ++made[text];
        return OrdinalTextCompare::SortKey(text);
    }
    mutable std::map<std::wstring, int> made;
};

TEST(SortKeyCache, MakesEachTextsKeyOnceAcrossSorts) {
    CountingCompare compare;
    SortKeyCache cache;
    for (int sort = 0; sort < 3; ++sort) {
        cache.Prepare(compare, 4);
        for (const std::wstring text : {L"Beta", L"alpha", L"", L"BETA"}) {
            EXPECT_EQ(cache.Key(text), compare.OrdinalTextCompare::SortKey(text));
        }
    }
    EXPECT_EQ(compare.made,
              (std::map<std::wstring, int>{{L"", 1}, {L"BETA", 1}, {L"Beta", 1}, {L"alpha", 1}}));
}

TEST(SortKeyCache, KeysStayValidThroughASortAndAreForgottenBeyondTheLimit) {
    CountingCompare compare;
    SortKeyCache cache(3);
    cache.Prepare(compare, 2);
    const std::string& a = cache.Key(L"a");
    cache.Key(L"b");
    EXPECT_EQ(a, compare.OrdinalTextCompare::SortKey(L"a"));
    cache.Prepare(compare, 2); // 2 kept + 2 more would pass the limit
    EXPECT_EQ(cache.Size(), 0u);
    cache.Key(L"a");
    EXPECT_EQ(compare.made[L"a"], 2);
}

TEST(SortKeyCache, AnotherComparisonStartsAfresh) {
    CountingCompare first, second;
    SortKeyCache cache;
    cache.Prepare(first, 1);
    cache.Key(L"x");
    cache.Prepare(second, 1);
    cache.Key(L"x");
    EXPECT_EQ(first.made[L"x"], 1);
    EXPECT_EQ(second.made[L"x"], 1);
}

} // namespace
} // namespace torvik
