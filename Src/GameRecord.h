// The game record: a four-line text file (start time, score, platform, moves) from which a
// game can be replayed exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

std::string FormatGameRecord(uint64_t startTime, uint32_t score, const char* platform,
                             const char* moves);

// Writes a record; `platform` is the system's description ("Windows" when it is empty). True
// when the file holds it; a failure never leaves a cut-off file in place of an older record.
bool WriteGameRecord(const char* path, uint64_t startTime, uint32_t score, const char* platform,
                     const char* moves);

// Reads a record; the moves go into the caller's buffer. Lines may come in any order and
// unknown lines are ignored.
bool ReadGameRecord(const char* path, char* moves, size_t movesSize, uint64_t* startTime,
                    uint32_t* score);

// True when the file is a record as its writer leaves it: its "Moves:" line, the last one,
// ends with its line end. A record cut short by a crash has none.
bool IsCompleteGameRecord(const char* path);

// Returns a newly allocated move string (free it with std::free), or null when the file is
// missing, empty, one byte long or cannot be read. A missing file whose replace a crash cut
// short is first made whole again from its temporary file (FinishInterruptedReplace).
char* LoadGameRecordFile(const char* path, uint64_t* startTime, uint32_t* score);
