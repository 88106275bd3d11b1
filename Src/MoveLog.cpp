// The move log (one character per action) and the replay of a stored move string.
#include "Game.h"

#include "TextUtil.h"

#include <cstdlib>

namespace {

void DisableMoveLog(CGame& game) {
    std::free(game.m_moveLog);
    game.m_moveLog = nullptr;
    game.m_moveLogEnd = nullptr;
    game.m_moveLogLength = 0;
    game.m_moveLogCapacity = 0;
}

bool IsReplaySkipped(char c) {
    return c == '.' || IsCSpace(c);
}

void ReplayStep(CGame& game, char digit) {
    // The layout of the numeric keypad: 7 8 9 / 4 5 6 / 1 2 3.
    const int index = digit - '1';
    const auto dx = static_cast<int16_t>(index % 3 - 1);
    const auto dy = static_cast<int16_t>(1 - index / 3);
    MovePlayer(game, dx, dy);
}

} // namespace

void AppendMove(CGame& game, char c) {
    if (!game.m_moveLog) {
        return;
    }
    if (game.m_moveLogLength + 1 >= game.m_moveLogCapacity) {
        const uint64_t capacity = uint64_t{game.m_moveLogCapacity} * 5 / 4;
        char* grown = capacity <= UINT32_MAX
                          ? static_cast<char*>(std::realloc(game.m_moveLog, capacity))
                          : nullptr;
        if (!grown) {
            DisableMoveLog(game);
            return;
        }
        game.m_moveLog = grown;
        game.m_moveLogCapacity = static_cast<uint32_t>(capacity);
        game.m_moveLogEnd = grown + game.m_moveLogLength;
    }
    *game.m_moveLogEnd++ = c;
    *game.m_moveLogEnd = '\0';
    ++game.m_moveLogLength;
}

bool ReplayNextMove(CGame& game) {
    if (game.m_gameOver || game.m_closing || !game.m_replayMoves) {
        return false;
    }
    while (IsReplaySkipped(*game.m_replayPos)) {
        ++game.m_replayPos;
    }
    const char c = *game.m_replayPos;
    if (c == '\0') {
        if (game.m_restoring) {
            game.m_restoring = false;
            return true;
        }
        if (game.m_demoMode) {
            EndGame(game);
        }
        return false;
    }
    ++game.m_replayPos;
    if (!PlayMove(game, c)) {
        EndGame(game);
        return false;
    }
    return true;
}

bool PlayMove(CGame& game, char c) {
    switch (c) {
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9':
        ReplayStep(game, c);
        return true;
    case 'T':
        Teleport(game);
        return true;
    case 'S':
        UseScrewdriver(game);
        return true;
    case 'L':
        LastStand(game, 1);
        return true;
    case 'K':
        LastStand(game, -1);
        return true;
    case 'J':
        LastStand(game, -2);
        return true;
    default:
        return false;
    }
}
