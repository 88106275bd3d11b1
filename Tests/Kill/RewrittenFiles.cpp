#include "RewrittenFiles.h"

#include "GameRecord.h"
#include "HighScoreTable.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

constexpr int kHighScoresFile = 0;

const char* const kFileNames[kRewrittenFileCount] = {"High Scores.txt", "Saved Game.txt",
                                                     "Last Game.txt"};

constexpr char kFolderSeparator = '\\';

// Dates in whole minutes, the file's unit, so that they read back unchanged.
constexpr int64_t kFirstDate = 1278814740;

// Version 0: ten short rows; version 1: ten rows with names of the longest length kept.
void FillTable(CHighScoreTable& table, int version) {
    table.ClearEntries();
    for (int rank = 0; rank < kNumHighScores; ++rank) {
        const int32_t score = version == 0 ? 100 - 10 * rank : 9876540 - 1000 * rank;
        const std::string name(version == 0 ? 3 : kHighScoreNameSize - 1,
                               static_cast<char>('A' + rank));
        const auto level = static_cast<int16_t>(version == 0 ? 1 : 40 + rank);
        table.Insert(score, name.c_str(), level, kFirstDate + 3600 * rank);
    }
}

bool SameRows(const CHighScoreTable& a, const CHighScoreTable& b) {
    for (int rank = 0; rank < kNumHighScores; ++rank) {
        const HighScoreEntry& x = a.Entry(rank);
        const HighScoreEntry& y = b.Entry(rank);
        if (x.score != y.score || x.date != y.date || x.level != y.level ||
            std::strcmp(x.name, y.name) != 0) {
            return false;
        }
    }
    return true;
}

// Version 0: a game of a few moves; version 1: a long game with its level separators.
const std::string& Moves(int version) {
    static const std::string moves[kVersionCount] = {
        "474S9666T2",
        [] {
            std::string text;
            for (int level = 0; level < 1200; ++level) {
                text += level == 0 ? "" : ". ";
                text += "474S9666T2222114";
            }
            return text;
        }(),
    };
    return moves[version];
}

// One start time per file and version, so that no record passes for another.
uint64_t StartTime(int file, int version) {
    return 1294692840u + 100u * static_cast<unsigned>(file) + static_cast<unsigned>(version);
}

uint32_t Score(int version) {
    return version == 0 ? 30 : 187650;
}

bool ReadBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    bytes = text.str();
    return true;
}

// The version whose rows the program's reader finds in the high-score file; -1 for neither.
int VersionReadAsTable(const std::string& path) {
    CHighScoreTable read(path.c_str());
    read.LoadFromFile();
    for (int version = 0; version < kVersionCount; ++version) {
        CHighScoreTable expected(path.c_str());
        FillTable(expected, version);
        if (SameRows(read, expected)) {
            return version;
        }
    }
    return -1;
}

// The version whose game the program's reader finds in the record; -1 for neither.
int VersionReadAsRecord(const std::string& path, int file) {
    uint64_t startTime = 0;
    uint32_t score = 0;
    char* moves = LoadGameRecordFile(path.c_str(), &startTime, &score);
    int found = -1;
    for (int version = 0; moves && version < kVersionCount; ++version) {
        if (Moves(version) == moves && startTime == StartTime(file, version) &&
            score == Score(version)) {
            found = version;
        }
    }
    std::free(moves);
    return found;
}

} // namespace

const char* RewrittenFileName(int file) {
    return kFileNames[file];
}

std::string RewrittenFilePath(const std::string& folder, int file) {
    return folder + kFolderSeparator + kFileNames[file];
}

void WriteVersion(const std::string& folder, int file, int version) {
    const std::string path = RewrittenFilePath(folder, file);
    if (file == kHighScoresFile) {
        CHighScoreTable table(path.c_str());
        FillTable(table, version);
        table.SaveToFile();
    } else {
        WriteGameRecord(path.c_str(), StartTime(file, version), Score(version), "Windows",
                        Moves(version).c_str());
    }
}

CVersionIdentifier::CVersionIdentifier(const std::string& referenceFolder) {
    for (int file = 0; file < kRewrittenFileCount; ++file) {
        for (int version = 0; version < kVersionCount; ++version) {
            WriteVersion(referenceFolder, file, version);
            ReadBytes(RewrittenFilePath(referenceFolder, file), m_bytes[file][version]);
        }
    }
}

int CVersionIdentifier::Identify(const std::string& folder, int file, std::string& problem) const {
    const std::string path = RewrittenFilePath(folder, file);
    std::string bytes;
    if (!ReadBytes(path, bytes)) {
        problem = "is missing";
        return -1;
    }
    int version = 0;
    while (version < kVersionCount && bytes != m_bytes[file][version]) {
        ++version;
    }
    if (version == kVersionCount) {
        problem = "holds " + std::to_string(bytes.size()) + " bytes that are neither version (" +
                  std::to_string(VersionSize(file, 0)) + " or " +
                  std::to_string(VersionSize(file, 1)) + " bytes)";
        return -1;
    }
    const int read =
        file == kHighScoresFile ? VersionReadAsTable(path) : VersionReadAsRecord(path, file);
    if (read != version) {
        problem = "holds version " + std::to_string(version) +
                  " byte for byte, but the program reads " +
                  (read < 0 ? std::string("neither version") : "version " + std::to_string(read));
        return -1;
    }
    return version;
}
