// The texts of a row of the high-score list window: score, name and date, in English whatever
// the system's language.
#pragma once

#include "HighScoreTable.h"

#include <ctime>

// Converts seconds since 1970 into the local calendar time; false when it cannot.
using LocalTimeConverter = bool (*)(int64_t time, std::tm* local);

struct HighScoreRowText {
    char score[16];
    // The name, followed by the level in parentheses when it is greater than 0.
    char name[48];
    // Empty for a row without a date (or one the converter rejects); "Today, 02:19 AM" up to
    // 12 hours old (or dated in the future), "Sunday, 02:19 AM" up to 6 days old, else
    // "July 11, 2010".
    char date[256];
};

void FormatHighScoreRow(const HighScoreEntry& row, int64_t now, LocalTimeConverter toLocalTime,
                        HighScoreRowText* text);
