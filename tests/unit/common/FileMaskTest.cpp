#include <gtest/gtest.h>

#include "common/FileMask.h"
#include "platform/Wildcard.h"

namespace torvik {
namespace {

TEST(FileMask, StarQuestionMarkWholeNameAndCase) {
    const struct {
        const wchar_t* mask;
        const wchar_t* name;
        bool scanner;
        bool listing;
    } cases[] = {
        {L"*.lnk", L"Word.LNK", true, true},
        {L"*.lnk", L"a.lnk.txt", false, false},
        {L"*", L"", true, true},
        {L"*.*", L"README", false, true},
        {L"*.*", L"a.b", true, true},
        {L"readme.", L"README", false, true},
        {L"a?c", L"abc", true, true},
        {L"a?c", L"ac", false, false},
        {L"*x*y", L"axxbxy", true, true},
        {L"*setup*", L"MySetupTool.exe", true, true},
        {L"abc", L"abcd", false, false},
        {L"**", L"anything", true, true},
        {L"\u00c9*", L"\u00e9t\u00e9", false, false}, // only A-Z fold
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileMaskMatch(c.mask, c.name), c.scanner) << c.mask << " " << c.name;
        EXPECT_EQ(ListingMaskMatch(c.mask, c.name), c.listing) << c.mask << " " << c.name;
    }
}

} // namespace
} // namespace torvik
