// Hindsight on a stored game: at each action, what every alternative the player had would have
// led to, each tried on a copy of the game with the random generator in the same state, so a
// teleport lands exactly where the game's own teleport would have.
#pragma once

#include "Game.h"
#include "NullGameHost.h"

#include <cstdint>
#include <optional>
#include <vector>

// The moves are the nine characters '1' to '9', laid out as the numeric keypad ('5' the wait).
constexpr int kNumMoves = 9;

// What each alternative would have done in one position. An alternative is safe when the
// player is alive once it is over: after the robots' answer (before a level it clears is
// followed by the next), and for the Last Stand when it ends. A step off the board is no
// alternative; a step onto a robot or a heap is one, and fatal. The Last Stand Minus 1 and 2
// are not tried: they stop before any robot can reach the player, so they never decide a turn.
struct Judgement {
    char action = 0;
    uint16_t level = 0;
    // Bit (move - '1') is set when that move was safe.
    uint16_t safeMoves = 0;
    bool teleportSafe = false;
    bool screwdriverLeft = false;
    bool screwdriverSafe = false;
    bool lastStandSafe = false;
    // The action as played left the player alive.
    bool survived = false;

    int SafeMoveCount() const;
    bool IsSafeMove(char move) const { return (safeMoves >> (move - '1')) & 1; }
};

// Tries the alternatives of a position on a scratch game of its own.
class CHindsight {
public:
    CHindsight();
    // Judges the position of `game`, which stays as it is, as does the random generator.
    Judgement Judge(const CGame& game);
    // Whether the action of move character `c` leaves the player of `game` alive; false when
    // it is refused (a step off the board, a teleport with nowhere to land, no screwdriver).
    bool IsSafe(const CGame& game, char c);

private:
    CNullGameHost m_host;
    CGame m_scratch;
};

// The first character of `moves` that is neither an action nor one of the blanks and periods
// a replay skips; null when there is none.
const char* FindForeignMove(const char* moves);

// Replays the stored game on `game`, as the replay tool does, and judges the position before
// each of its actions, until the game or its moves end (or a character outside the alphabet).
std::vector<Judgement> ExplainGame(CGame& game, int64_t startTime, const char* moves);

// Replays the stored game on `game` up to its last action and judges the position before it, as
// ExplainGame judges it; the last action is tried, not played. Nothing when the moves hold no
// action, the game ends before its last one, or a character outside the alphabet comes first.
std::optional<Judgement> JudgeLastAction(CGame& game, int64_t startTime, const char* moves);
