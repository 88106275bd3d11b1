// The list of the ten best scores, kept in memory for the whole run and in "High Scores.txt".
#pragma once

#include "DataPath.h"

#include <cstddef>
#include <cstdint>

constexpr int kNumHighScores = 10;
constexpr size_t kHighScoreNameSize = 32;

// One row. An empty row is score 0, date 0, level 0 and an empty name.
struct HighScoreEntry {
    int32_t score;
    // When the game ended, in seconds since 1970-01-01 00:00 UTC; 0 means no date.
    int64_t date;
    // The level the game reached; 0 in the default rows, shown only when greater than 0.
    int16_t level;
    char name[kHighScoreNameSize];
};

// Seconds since 1970-01-01 00:00 UTC.
using TimeSource = int64_t (*)();
int64_t SystemTime();

class CHighScoreTable {
public:
    // `filePath` is the full path of "High Scores.txt"; `clock` dates rows inserted without one.
    explicit CHighScoreTable(const char* filePath, TimeSource clock = SystemTime);

    void ClearEntries();
    // The built-in list, the table's state at construction: SaveToFile does not count it as a
    // change.
    void ResetToDefaults();
    // The "Clear High Scores" command: the built-in list, written to the file at the next save.
    void ClearToDefaults();

    // Places the row below every row with at least its score and returns its rank (1..10), or 0
    // when the score does not enter the list. An empty name is stored as "Nobody", date 0 as
    // the current time.
    int Insert(int32_t score, const char* name, int16_t level, int64_t date);
    // True when some row's score is lower than `score`.
    bool QualifiesForTable(int32_t score) const;

    // A missing or unreadable file leaves the rows as they are. A missing file whose replace a
    // crash cut short is first made whole again from its temporary file, when that holds ten
    // whole lines (FinishInterruptedReplace).
    void LoadFromFile();
    // Writes the file only when the rows changed since they were loaded or last written. A
    // failed write leaves the old file whole and the table still marked as changed.
    void SaveToFile();

    // Index 0 is rank 1.
    const HighScoreEntry& Entry(int index) const { return m_entries[index]; }
    bool IsDirty() const { return m_dirty; }

private:
    static bool IsCompleteTableFile(const char* path);
    void ReadDataLine(char* text, int index);
    void StoreRow(int index, const HighScoreEntry& row);

    HighScoreEntry m_entries[kNumHighScores];
    char m_filePath[kMaxPathSize];
    bool m_dirty;
    TimeSource m_clock;
};

// Every listed game also leaves its record in the "High Score Games" data subfolder, under
// "hs" and the low 32 bits of its start time: "hs1278814757.txt".
extern const char* const kHighScoreGamesFolder;
constexpr size_t kHighScoreGameFileNameSize = 32;
void FormatHighScoreGameFileName(char (&out)[kHighScoreGameFileNameSize], uint64_t startTime);
