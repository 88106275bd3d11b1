// The moment a finished game was lost, as the board shows it afterwards: the position just
// before the fatal action, with the steps and the wait that would have survived that turn, and
// in the status line whether the teleport, the screwdriver or the Last Stand would have.
#pragma once

#include "Hindsight.h"

#include <string>

// Whether `game` has a lost moment to show: it has ended, with its actions logged.
bool HasLostMoment(const CGame& game);

class CLostMoment {
public:
    CLostMoment();

    // Replays the finished game of `game` (its start time, its move log, its settings) on a game
    // of its own and judges the position before its last action. False, with nothing to show,
    // when `game` has no lost moment. `game` and the random generator stay as they are.
    bool Find(const CGame& game);
    // The position before the fatal action.
    const CGame& Board() const { return m_board; }
    // Whether the step by (dx, dy), or the wait for (0, 0), would have survived.
    bool WouldSurvive(int dx, int dy) const;
    // The status line's texts, left, centre and right: "Teleport: safe", "Screwdriver: none
    // left", "Last Stand: fatal" and the like.
    std::string TeleportText() const;
    std::string ScrewdriverText() const;
    std::string LastStandText() const;

private:
    CNullGameHost m_host;
    CGame m_board;
    Judgement m_verdict;
};
