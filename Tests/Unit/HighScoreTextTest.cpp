// The texts the list window draws for a row, with the local time zone fixed by the test.
#include "HighScoreText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The test's local time is UTC shifted by this many seconds.
int64_t g_zoneOffset = 0;

bool ShiftedUtc(int64_t time, std::tm* local) {
    const time_t shifted = static_cast<time_t>(time + g_zoneOffset);
    return gmtime_r(&shifted, local) != nullptr;
}

bool NoLocalTime(int64_t, std::tm*) {
    return false;
}

// Seconds since 1970 of a UTC calendar time.
int64_t Utc(int year, int month, int day, int hour, int minute, int second = 0) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    return static_cast<int64_t>(timegm(&fields));
}

HighScoreEntry Entry(int32_t score, const char* name, int16_t level, int64_t date) {
    HighScoreEntry entry{score, date, level, {}};
    std::strncpy(entry.name, name, sizeof entry.name - 1);
    return entry;
}

class HighScoreTextTest : public ::testing::Test {
protected:
    void SetUp() override { g_zoneOffset = 0; }

    std::string DateText(int64_t date, int64_t now, LocalTimeConverter convert = ShiftedUtc) {
        HighScoreRowText text;
        FormatHighScoreRow(Entry(100, "Ann", 0, date), now, convert, &text);
        return text.date;
    }
};

TEST_F(HighScoreTextTest, NoDateNoText) {
    EXPECT_EQ(DateText(0, Utc(2024, 1, 1, 0, 0)), "");
}

TEST_F(HighScoreTextTest, OldRowsShowTheFullDateInLocalTime) {
    const int64_t now = Utc(2024, 1, 1, 0, 0);
    EXPECT_EQ(DateText(1278814757, now), "July 11, 2010");
    g_zoneOffset = -5 * 3600;
    EXPECT_EQ(DateText(1278814757, now), "July 10, 2010");
    g_zoneOffset = 0;
    EXPECT_EQ(DateText(Utc(2010, 3, 4, 12, 0), now), "March 04, 2010");
}

TEST_F(HighScoreTextTest, EveryMonthAndWeekdayInEnglish) {
    const char* const months[] = {"January",   "February", "March",    "April",
                                  "May",       "June",     "July",     "August",
                                  "September", "October",  "November", "December"};
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(DateText(Utc(2010, month, 15, 9, 0), Utc(2024, 1, 1, 0, 0)),
                  std::string(months[month - 1]) + " 15, 2010");
    }
    // 2024-01-07 was a Sunday.
    const char* const weekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                    "Thursday", "Friday", "Saturday"};
    for (int day = 0; day < 7; ++day) {
        const int64_t date = Utc(2024, 1, 7 + day, 9, 5);
        EXPECT_EQ(DateText(date, date + 86400), std::string(weekdays[day]) + ", 09:05 AM");
    }
}

TEST_F(HighScoreTextTest, AgeDecidesTheForm) {
    const int64_t date = Utc(2024, 5, 10, 0, 30);
    EXPECT_EQ(DateText(date, date), "Today, 12:30 AM");
    EXPECT_EQ(DateText(date, date + 11 * 3600), "Today, 12:30 AM");
    EXPECT_EQ(DateText(date, date + 43199), "Today, 12:30 AM");
    EXPECT_EQ(DateText(date, date + 43200), "Friday, 12:30 AM");
    EXPECT_EQ(DateText(date, date + 13 * 3600), "Friday, 12:30 AM") << "the same calendar day";
    EXPECT_EQ(DateText(date, date + 518399), "Friday, 12:30 AM");
    EXPECT_EQ(DateText(date, date + 518400), "May 10, 2024");
    EXPECT_EQ(DateText(date, date + 6 * 86400 + 1), "May 10, 2024");
}

TEST_F(HighScoreTextTest, FutureDatesAreToday) {
    const int64_t date = Utc(2030, 2, 3, 18, 45);
    EXPECT_EQ(DateText(date, date - 400 * 86400), "Today, 06:45 PM");
}

TEST_F(HighScoreTextTest, TwelveHourClock) {
    EXPECT_EQ(DateText(Utc(2024, 5, 10, 0, 0), Utc(2024, 5, 10, 1, 0)), "Today, 12:00 AM");
    EXPECT_EQ(DateText(Utc(2024, 5, 10, 11, 59), Utc(2024, 5, 10, 12, 0)), "Today, 11:59 AM");
    EXPECT_EQ(DateText(Utc(2024, 5, 10, 12, 0), Utc(2024, 5, 10, 13, 0)), "Today, 12:00 PM");
    EXPECT_EQ(DateText(Utc(2024, 5, 10, 23, 7), Utc(2024, 5, 10, 23, 8)), "Today, 11:07 PM");
}

TEST_F(HighScoreTextTest, ADateTheSystemCannotConvertShowsNothing) {
    EXPECT_EQ(DateText(257698037700, Utc(2024, 1, 1, 0, 0), NoLocalTime), "");
}

TEST_F(HighScoreTextTest, ScoreAndNameWithTheLevelWhenThereIsOne) {
    HighScoreRowText text;
    FormatHighScoreRow(Entry(7010, "Ace", 7, 0), 0, ShiftedUtc, &text);
    EXPECT_STREQ(text.score, "7010");
    EXPECT_STREQ(text.name, "Ace (7)");
    FormatHighScoreRow(Entry(-40, "Ace", 0, 0), 0, ShiftedUtc, &text);
    EXPECT_STREQ(text.score, "-40");
    EXPECT_STREQ(text.name, "Ace");
    FormatHighScoreRow(Entry(0, "Ace", -2, 0), 0, ShiftedUtc, &text);
    EXPECT_STREQ(text.name, "Ace");
    const std::string longest(31, 'n');
    FormatHighScoreRow(Entry(INT32_MIN, longest.c_str(), 32767, 0), 0, ShiftedUtc, &text);
    EXPECT_STREQ(text.score, "-2147483648");
    EXPECT_EQ(std::string(text.name), longest + " (32767)");
}

} // namespace
