#include "data/birth_date.h"
#include "data/japanese_era.h"
#include "data/sjis.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr CalendarDate kToday{2026, 4, 9};

TEST(ParseBirthDate, AcceptsAndRejectsAsTheDateRulesSay) {
    struct Case {
        const char* text;
        std::optional<CalendarDate> date;
    };
    const Case cases[] = {
        {"1970/4/10", CalendarDate{1970, 4, 10}},
        {"  1970 /  4 / 10  ", CalendarDate{1970, 4, 10}},
        {"1970/4/10/", CalendarDate{1970, 4, 10}},
        {"1970/004/010", CalendarDate{1970, 4, 10}},
        {"000001970/4/10", CalendarDate{1970, 4, 10}},  // leading zeros are all read
        {"9999/12/31", CalendarDate{9999, 12, 31}},
        // Years of one or two digits fall in 1976..2075 when today is in 2026.
        {"76/1/1", CalendarDate{1976, 1, 1}},
        {"75/1/1", CalendarDate{2075, 1, 1}},
        {"05/1/1", CalendarDate{2005, 1, 1}},
        {"0/1/1", CalendarDate{2000, 1, 1}},
        {"005/1/1", CalendarDate{5, 1, 1}},  // three digits: taken unchanged
        {"970/1/1", CalendarDate{970, 1, 1}},
        {"2024/2/29", CalendarDate{2024, 2, 29}},
        {"2023/2/29", std::nullopt},
        {"2100/2/29", std::nullopt},
        {"1970/4/31", std::nullopt},
        {"1970/13/1", std::nullopt},
        {"1970/0/1", std::nullopt},
        {"0000/1/1", std::nullopt},
        {"12345/1/1", std::nullopt},  // reading stops at 1234, the 5 is left over
        {"//", std::nullopt},
        {"1970//10", std::nullopt},
        {"1970/4", std::nullopt},
        {"1970/4/10//", std::nullopt},
        {"1970/4/10x", std::nullopt},
        {"1970-4-10", std::nullopt},
        {"1970\t/4/10", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseBirthDate(c.text, kToday), c.date) << c.text;
    }
    EXPECT_FALSE(ParseBirthDate(sjis::fromUtf8("１９７０/4/10"), kToday));  // full-width digits
    EXPECT_FALSE(ParseBirthDate(sjis::fromUtf8("1970/4/10　"), kToday));    // ideographic space
}

TEST(ParseBirthDate, TwoDigitWindowMovesWithToday) {
    EXPECT_EQ(ParseBirthDate("50/1/1", {2100, 1, 1})->year, 2050);
    EXPECT_EQ(ParseBirthDate("49/1/1", {2100, 1, 1})->year, 2149);
    EXPECT_EQ(ParseBirthDate("49/1/1", {1999, 6, 1})->year, 1949);
    EXPECT_EQ(ParseBirthDate("48/1/1", {1999, 6, 1})->year, 2048);
}

TEST(AgeFromBirthFields, CountsWholeYearsUpToToday) {
    struct Case {
        const char* year;
        const char* month;
        const char* day;
        CalendarDate today;
        const char* age;
    };
    const Case cases[] = {
        {"1970", "4", "10", {2026, 4, 9}, "55"},   // birthday tomorrow
        {"1970", "4", "10", {2026, 4, 10}, "56"},  // birthday today
        {"2026", "4", "9", {2026, 4, 9}, "0"},     // born today
        {"2026", "4", "10", {2026, 4, 9}, ""},     // born tomorrow: no age
        {"2000", "2", "29", {2025, 2, 28}, "24"}, {"2000", "2", "29", {2025, 3, 1}, "25"},
        {"2000", "2", "29", {2024, 2, 29}, "24"}, {"2000", "2", "29", {2024, 2, 28}, "23"},
        {"970", "1", "1", {2026, 4, 9}, "1056"},  {"76", "04", "09", {2026, 4, 9}, "50"},
        {"75", "1", "1", {2026, 4, 9}, ""},  // 2075
        {"", "4", "10", {2026, 4, 9}, ""},        {"1970", "", "10", {2026, 4, 9}, ""},
        {"1970", "6", "31", {2026, 4, 9}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AgeFromBirthFields(c.year, c.month, c.day, c.today), c.age)
            << c.year << "/" << c.month << "/" << c.day;
    }
}

TEST(AgeFromRecord, NeedsExactlyTheFullFieldCount) {
    UserRecord record = emptyUserRecord();
    record[BirthYear] = "1970";
    record[BirthMonth] = "4";
    record[BirthDay] = "10";
    EXPECT_EQ(AgeFromRecord(record, kToday), "55");

    UserRecord longer = record;
    longer.push_back("extra");
    EXPECT_EQ(AgeFromRecord(longer, kToday), "");

    UserRecord shorter(record.begin(), record.end() - 1);
    EXPECT_EQ(AgeFromRecord(shorter, kToday), "");
    EXPECT_EQ(AgeFromRecord({}, kToday), "");
}

TEST(JapaneseEra, ChangesOnTheFirstDayOfEachEra) {
    struct Case {
        CalendarDate date;
        const char* era;  // empty: before every era
        int year;
    };
    const Case cases[] = {
        {{1867, 12, 31}, "", 0},    {{1868, 1, 1}, "明治", 1},    {{1912, 7, 29}, "明治", 45},
        {{1912, 7, 30}, "大正", 1}, {{1926, 12, 24}, "大正", 15}, {{1926, 12, 25}, "昭和", 1},
        {{1989, 1, 7}, "昭和", 64}, {{1989, 1, 8}, "平成", 1},    {{2019, 4, 30}, "平成", 31},
        {{2019, 5, 1}, "令和", 1},  {{2026, 4, 9}, "令和", 8},    {{1, 1, 1}, "", 0},
    };
    for (const auto& c : cases) {
        const auto era = JapaneseEraOf(c.date);
        const std::string label = SlashDateText(c.date);
        if (std::string(c.era).empty()) {
            EXPECT_FALSE(era) << label;
            continue;
        }
        ASSERT_TRUE(era) << label;
        EXPECT_EQ(era->eraName, sjis::fromUtf8(c.era)) << label;
        EXPECT_EQ(era->year, c.year) << label;
    }
}

}  // namespace
