#include "ListedGames.h"

#include "GameRecord.h"
#include "SafeFile.h"

#include <cstdlib>
#include <cstring>

namespace {

// "hs" and the digits of a start time, as FormatHighScoreGameFileName names records; the
// temporary file of a write cut off by a crash is none of them.
bool IsListedGameFileName(const std::string& name) {
    constexpr size_t kPrefix = 2;
    constexpr size_t kSuffix = 4;
    if (name.size() <= kPrefix + kSuffix || name.compare(0, kPrefix, "hs") != 0 ||
        name.compare(name.size() - kSuffix, kSuffix, ".txt") != 0) {
        return false;
    }
    const std::string digits = name.substr(kPrefix, name.size() - kPrefix - kSuffix);
    return digits.find_first_not_of("0123456789") == std::string::npos;
}

// "High Scores.txt" dates a row by the minute it ended in: a game of a few seconds may have
// started after the moment the list reads, though never in a later minute.
bool StartedByMinute(uint64_t startTime, int64_t date) {
    constexpr uint64_t kMinute = 60;
    return startTime / kMinute <= static_cast<uint64_t>(date) / kMinute;
}

} // namespace

std::string FindListedGameRecord(const std::string& folder, const HighScoreEntry& row) {
    if (row.date <= 0 || row.score < 0) {
        return "";
    }
    std::string found;
    uint64_t foundStart = 0;
    for (const std::string& name : ListFolderFiles(folder.c_str())) {
        if (!IsListedGameFileName(name)) {
            continue;
        }
        const std::string path = JoinFolderPath(folder, name);
        uint64_t startTime = 0;
        uint32_t score = 0;
        char* moves = LoadGameRecordFile(path.c_str(), &startTime, &score);
        const bool played = moves && moves[0] != '\0';
        std::free(moves);
        if (played && startTime != 0 && score == static_cast<uint32_t>(row.score) &&
            StartedByMinute(startTime, row.date) && startTime > foundStart) {
            found = path;
            foundStart = startTime;
        }
    }
    return found;
}
