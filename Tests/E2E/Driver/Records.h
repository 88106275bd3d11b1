// Game records: the ones run.sh prepared (each with the replay tool's position after every
// prefix of its moves), and the files the game reads and writes in its data folder.
#pragma once

#include "Board.h"
#include "Framework.h"

#include <optional>
#include <string>

struct GameRecord {
    unsigned long startTime = 0;
    std::string moves;
};

class RecordedGame {
public:
    // "<gamesDir>\<name>.txt", with "<name>.<k>.board" for every k from 0 to the moves' length.
    RecordedGame(const TestContext& context, const std::string& name);

    const GameRecord& Record() const { return m_record; }
    // The moves after the record's last blank are the ones a test plays with keys (the game and
    // the replay tool skip blanks); the index of the first of them.
    size_t FirstPlayedMove() const;
    // The record cut after its first `length` moves.
    GameRecord Prefix(size_t length) const;
    // Where those moves lead, according to the replay tool.
    Position PositionAfter(size_t length) const;

private:
    std::string m_base;
    GameRecord m_record;
};

std::optional<GameRecord> ReadGameRecord(const std::string& path);
void WriteGameRecord(const std::string& path, const GameRecord& record);

// "%APPDATA%\Clankmere\<fileName>" of this prefix's user.
std::string DataFilePath(const std::string& fileName);
bool FileExists(const std::string& path);

// The moves of a record without the level separators ". " that the game writes into its log.
std::string ActionsOf(const std::string& moves);
