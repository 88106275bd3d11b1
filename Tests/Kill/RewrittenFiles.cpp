#include "RewrittenFiles.h"

#include "GameRecord.h"
#include "HighScoreTable.h"

#include <fstream>
#include <sstream>

namespace {

constexpr int kHighScoresFile = 0;

const char* const kFileNames[kRewrittenFileCount] = {"High Scores.txt", "Saved Game.txt",
                                                     "Last Game.txt"};

// Version 0: ten short rows; version 1: ten rows with names of the longest length kept.
void WriteTable(const std::string& path, int version) {
    // Dates in whole minutes, the file's unit.
    constexpr int64_t kFirstDate = 1278814740;
    CHighScoreTable table(path.c_str());
    table.ClearEntries();
    for (int rank = 0; rank < kNumHighScores; ++rank) {
        const int32_t score = version == 0 ? 100 - 10 * rank : 9876540 - 1000 * rank;
        const std::string name(version == 0 ? 3 : kHighScoreNameSize - 1,
                               static_cast<char>('A' + rank));
        const auto level = static_cast<int16_t>(version == 0 ? 1 : 40 + rank);
        table.Insert(score, name.c_str(), level, kFirstDate + 3600 * rank);
    }
    table.SaveToFile();
}

// Version 0: a game of a few moves; version 1: a long game with its level separators. One
// start time per file and version, so that no record passes for another.
void WriteRecord(const std::string& path, int file, int version) {
    std::string moves = version == 0 ? "474S9666T2" : "474S9666T2222114";
    for (int level = 1; version == 1 && level < 1200; ++level) {
        moves += ". 474S9666T2222114";
    }
    WriteGameRecord(path.c_str(), 1294692840u + static_cast<unsigned>(100 * file + version),
                    version == 0 ? 30 : 187650, "Windows", moves.c_str());
}

bool ReadBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    bytes = text.str();
    return static_cast<bool>(in);
}

} // namespace

const char* RewrittenFileName(int file) {
    return kFileNames[file];
}

std::string RewrittenFilePath(const std::string& folder, int file) {
    return folder + '\\' + kFileNames[file];
}

void WriteVersion(const std::string& folder, int file, int version) {
    const std::string path = RewrittenFilePath(folder, file);
    if (file == kHighScoresFile) {
        WriteTable(path, version);
    } else {
        WriteRecord(path, file, version);
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
    std::string bytes;
    if (!ReadBytes(RewrittenFilePath(folder, file), bytes)) {
        problem = "is missing";
        return -1;
    }
    for (int version = 0; version < kVersionCount; ++version) {
        if (bytes == m_bytes[file][version]) {
            return version;
        }
    }
    problem = "holds " + std::to_string(bytes.size()) + " bytes that are neither version (" +
              std::to_string(VersionSize(file, 0)) + " or " + std::to_string(VersionSize(file, 1)) +
              " bytes)";
    return -1;
}
