#include "GameFixture.h"

#include "NullGameHost.h"

#include <cstring>

GameTest::GameTest() : game(host, nullptr) {
    EnsureGameResources(game);
    host.Clear();
}

void GameTest::StartGame(int64_t startTime) {
    NewGame(game, startTime, nullptr, false);
    host.Clear();
}

void GameTest::Place(const std::vector<std::string>& rows) {
    std::memset(game.m_grid, 0, sizeof game.m_grid);
    Robot* heap = game.m_lastRecord;
    int robots = 0;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        for (int x = 0; x < static_cast<int>(rows[y].size()); ++x) {
            const char c = rows[y][x];
            auto placeAt = [&](Robot& r) {
                r = Robot{};
                r.x = static_cast<int16_t>(x);
                r.y = static_cast<int16_t>(y);
                r.rect = {x * 16, y * 16, x * 16 + 16, y * 16 + 16};
                r.isAlive = kRobotIsAlive;
            };
            if (c == 'A') {
                game.m_playerX = static_cast<int16_t>(x);
                game.m_playerY = static_cast<int16_t>(y);
                game.Cell(x, y) = kCellPlayer;
            } else if (c == 'S') {
                placeAt(*heap--);
                game.Cell(x, y) = kCellHeap;
            } else if (c >= 'a' && c <= 'z') {
                placeAt(game.m_records[c - 'a']);
                robots = std::max(robots, c - 'a' + 1);
                game.Cell(x, y) = kCellRobot;
            }
        }
    }
    game.m_records[robots].isAlive = kEndOfList;
    game.m_robotListEnd = game.m_records + robots;
    heap->isAlive = kEndOfList;
    game.m_heapListEnd = heap;
}

std::vector<std::string> GameTest::Board() const {
    std::vector<std::string> rows;
    for (int y = 0; y < kGridHeight; ++y) {
        std::string row;
        for (int x = 0; x < kGridWidth; ++x) {
            const uint8_t cell = game.Cell(x, y);
            row += cell == kCellEmpty ? '.' : static_cast<char>(cell);
        }
        rows.push_back(row);
    }
    return rows;
}

int GameTest::LiveRobots() const {
    int live = 0;
    for (const Robot* r = game.m_records; r->isAlive != kEndOfList; ++r) {
        live += r->isAlive == kRobotIsAlive ? 1 : 0;
    }
    return live;
}

int GameTest::HeapRecords() const {
    int heaps = 0;
    for (const Robot* r = game.m_lastRecord; r->isAlive != kEndOfList; --r) {
        ++heaps;
    }
    return heaps;
}

std::string ReplayPosition(int64_t startTime, const char* moves, CPreferences2* prefs) {
    CNullGameHost host;
    CGame game(host, nullptr);
    EnsureGameResources(game);
    if (prefs) {
        game.m_prefs.CopySettingsFrom(*prefs);
    }
    ReplayStoredGame(game, startTime, moves);
    std::string text = "score " + std::to_string(game.m_score) + " level " +
                       std::to_string(game.m_level) + " screwdrivers " +
                       std::to_string(game.m_screwdrivers) + (game.m_gameOver ? " over" : "") +
                       "\n" + (game.m_moveLog ? game.m_moveLog : "") + "\n";
    for (int y = 0; y < kGridHeight; ++y) {
        for (int x = 0; x < kGridWidth; ++x) {
            const uint8_t cell = game.Cell(x, y);
            text += cell == kCellEmpty ? '.' : static_cast<char>(cell);
        }
        text += '\n';
    }
    return text;
}
