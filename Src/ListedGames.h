// The game record of a row of the high-score list. The rows do not name their records: a
// record is named by its game's start time, a row holds the end time, the score and the name.
// What they share tells which record is a row's.
#pragma once

#include "HighScoreTable.h"

#include <string>

// The record in `folder` ("High Score Games") of the game that `row` lists: of the records
// there with the row's score that started by the row's date (its minute, as the list keeps
// dates), the one that started last. Empty when there is none: a built-in row, a row without a
// date, a record deleted or damaged (no start time, no moves).
std::string FindListedGameRecord(const std::string& folder, const HighScoreEntry& row);
