// --explain: where a stored game could have been saved, in words or as a table for scripts.
#pragma once

#include "Game.h"

#include <string>

// Replays the stored game on `game` and prints, at every action, what the alternatives would
// have led to: sentences for a player, or with `tsv` one line of four tab-separated fields per
// action. Returns what is wrong with the moves, printing nothing, or an empty text.
std::string ExplainRecord(CGame& game, int64_t startTime, const char* moves, bool tsv);
