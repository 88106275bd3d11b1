#include "HighScoreText.h"

#include <cstdio>

namespace {

constexpr int64_t kTodayAge = 12 * 60 * 60;
constexpr int64_t kThisWeekAge = 6 * 24 * 60 * 60;

const char* const kWeekdayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

bool IsCalendarTime(const std::tm& local) {
    return local.tm_wday >= 0 && local.tm_wday < 7 && local.tm_mon >= 0 && local.tm_mon < 12 &&
           local.tm_hour >= 0 && local.tm_hour < 24;
}

// "02:19 AM": the hour on the 12-hour clock, the minute and the half of the day.
void FormatClockTime(char* out, size_t size, const std::tm& local) {
    const int hour = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    std::snprintf(out, size, "%02d:%02d %s", hour, local.tm_min, local.tm_hour < 12 ? "AM" : "PM");
}

void FormatDate(char (&out)[256], int64_t date, int64_t now, LocalTimeConverter toLocalTime) {
    out[0] = '\0';
    std::tm local{};
    if (date == 0 || !toLocalTime(date, &local) || !IsCalendarTime(local)) {
        return;
    }
    char clock[32];
    FormatClockTime(clock, sizeof clock, local);
    const int64_t age = now - date;
    if (age < kTodayAge) {
        std::snprintf(out, sizeof out, "Today, %s", clock);
    } else if (age < kThisWeekAge) {
        std::snprintf(out, sizeof out, "%s, %s", kWeekdayNames[local.tm_wday], clock);
    } else {
        std::snprintf(out, sizeof out, "%s %02d, %ld", kMonthNames[local.tm_mon], local.tm_mday,
                      static_cast<long>(local.tm_year) + 1900);
    }
}

} // namespace

void FormatHighScoreRow(const HighScoreEntry& row, int64_t now, LocalTimeConverter toLocalTime,
                        HighScoreRowText* text) {
    std::snprintf(text->score, sizeof text->score, "%d", static_cast<int>(row.score));
    if (row.level > 0) {
        std::snprintf(text->name, sizeof text->name, "%.31s (%d)", row.name, row.level);
    } else {
        std::snprintf(text->name, sizeof text->name, "%.31s", row.name);
    }
    FormatDate(text->date, row.date, now, toLocalTime);
}
