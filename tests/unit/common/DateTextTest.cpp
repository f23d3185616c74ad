#include <gtest/gtest.h>

#include "common/DateText.h"
#include "common/Error.h"

namespace torvik {
namespace {

TEST(DateText, WritesFixedSeparators) {
    const double d = EncodeDateTime({2024, 2, 29, 13, 5, 9, 42});
    EXPECT_EQ(DateTimeToStrX(d), L"2024-02-29 13:05:09.042");
    EXPECT_EQ(DateTimeToStrX_noms(d), L"2024-02-29 13:05:09");
    EXPECT_EQ(DateTimeToStrX(0), L"1899-12-30 00:00:00.000");
    EXPECT_DOUBLE_EQ(EncodeDateTime({1900, 1, 1}), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime({2008, 9, 30, 19, 39, 6}), 39721.0 + 70746.0 / 86400.0);
    // Before the epoch the time of day still counts from midnight.
    EXPECT_EQ(DateTimeToStrX_noms(-1.25), L"1899-12-29 06:00:00");
}

TEST(DateText, ReadsWhatItWrites) {
    for (const double d : {1.0, 39722.818681, 45000.999988, 2958465.5}) {
        EXPECT_NEAR(StrToDateTimeX(DateTimeToStrX(d)), d, 1.0 / 86400000.0) << d;
        EXPECT_NEAR(StrToDateTimeX(DateTimeToStrX_noms(d)), d, 1.0 / 86400.0) << d;
    }
}

TEST(DateText, ReadsVariants) {
    const double base = EncodeDateTime({2023, 7, 1, 8, 30, 0});
    EXPECT_DOUBLE_EQ(StrToDateTimeX(L"2023-07-01T08:30:00"), base);
    EXPECT_DOUBLE_EQ(StrToDateTimeX(L"2023-7-1 8:30"), base);
    EXPECT_DOUBLE_EQ(StrToDateTimeX(L"2023-07-01"), EncodeDateTime({2023, 7, 1}));
    EXPECT_DOUBLE_EQ(StrToDateTimeX(L"2023-07-01 08:30:00.5"),
                     EncodeDateTime({2023, 7, 1, 8, 30, 0, 500}));
}

TEST(DateText, RejectsWhatItCannotRead) {
    for (const wchar_t* text :
         {L"", L"yesterday", L"2023-13-01", L"2023-02-29", L"2023-07-01 24:00:00",
          L"2023-07-01 10:61", L"01.07.2023", L"2023-07-01 08:30:00 PM", L"2023-07-01x",
          L"2023-07-01 08:30:00.1234"}) {
        EXPECT_THROW(StrToDateTimeX(text), TorvikError) << text;
    }
}

} // namespace
} // namespace torvik
