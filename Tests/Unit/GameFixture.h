// A game on a recording host, and a way to lay out a position from a small picture.
#pragma once

#include "Game.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class GameTest : public ::testing::Test {
public:
    GameTest();

    // Rows from the top; missing rows and columns are empty. 'A' is the player, 'S' a heap,
    // 'a'..'z' robots in list order (a in the first slot).
    void Place(const std::vector<std::string>& rows);
    // The board as 18 rows of 31 characters, '.' for empty cells.
    std::vector<std::string> Board() const;
    // Starts a running game at level 1 with no moves logged; the board is left empty.
    void StartGame(int64_t startTime = 1000);
    std::string Log() const { return game.m_moveLog ? game.m_moveLog : ""; }
    int LiveRobots() const;
    int HeapRecords() const;

    CRecordingHost host;
    CGame game;
};

// The position after replaying `moves` from `startTime`, as the replay tool prints it.
std::string ReplayPosition(int64_t startTime, const char* moves, CPreferences2* prefs = nullptr);
