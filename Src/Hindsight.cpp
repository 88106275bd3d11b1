// Hindsight on a stored game: every alternative of a position tried on a scratch copy.
#include "Hindsight.h"

#include "Random.h"
#include "TextUtil.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kTeleport = 'T';
constexpr char kScrewdriver = 'S';
constexpr char kLastStand = 'L';

bool IsSkippedInReplay(char c) {
    return c == '.' || IsCSpace(c);
}

bool IsMove(char c) {
    return c >= '1' && c <= '9';
}

bool IsAction(char c) {
    return IsMove(c) || (c != '\0' && std::strchr("TSLKJ", c) != nullptr);
}

// Makes `to` the position of `from`, with the settings the rules read and an empty move log.
// The replay string, the host's state and the times do not take part in an action's outcome.
void CopyPosition(CGame& to, const CGame& from) {
    std::copy(from.m_records, from.m_records + kNumCells, to.m_records);
    to.m_robotListEnd = to.m_records + (from.m_robotListEnd - from.m_records);
    to.m_heapListEnd = to.m_records + (from.m_heapListEnd - from.m_records);
    std::memcpy(to.m_grid, from.m_grid, sizeof to.m_grid);
    to.m_playerX = from.m_playerX;
    to.m_playerY = from.m_playerY;
    to.m_level = from.m_level;
    to.m_score = from.m_score;
    to.m_screwdrivers = from.m_screwdrivers;
    to.m_lastStandMode = from.m_lastStandMode;
    to.m_gameOver = from.m_gameOver;
    to.m_startTime = from.m_startTime;
    to.m_busy = false;
    to.m_closing = false;
    to.m_demoMode = false;
    to.m_restoring = false;
    to.m_prefs.CopySettingsFrom(from.m_prefs);
    if (to.m_moveLog) {
        to.m_moveLogEnd = to.m_moveLog;
        to.m_moveLogLength = 0;
        *to.m_moveLogEnd = '\0';
    }
}

} // namespace

int Judgement::SafeMoveCount() const {
    int count = 0;
    for (char move = '1'; move <= '9'; ++move) {
        count += IsSafeMove(move) ? 1 : 0;
    }
    return count;
}

CHindsight::CHindsight() : m_scratch(m_host, nullptr) {
    EnsureGameResources(m_scratch);
}

bool CHindsight::IsSafe(const CGame& game, char c) {
    const RandomState random = SaveRandomState();
    CopyPosition(m_scratch, game);
    PlayMove(m_scratch, c);
    RestoreRandomState(random);
    // A refused action (a step off the board, a teleport with nowhere to land) logs nothing:
    // the player has not got away.
    return m_scratch.m_moveLogLength > 0 && !m_scratch.m_gameOver;
}

Judgement CHindsight::Judge(const CGame& game) {
    Judgement judgement;
    judgement.level = game.m_level;
    for (char move = '1'; move <= '9'; ++move) {
        if (IsSafe(game, move)) {
            judgement.safeMoves = static_cast<uint16_t>(judgement.safeMoves | 1u << (move - '1'));
        }
    }
    judgement.teleportSafe = IsSafe(game, kTeleport);
    judgement.screwdriverLeft = game.m_screwdrivers > 0;
    judgement.screwdriverSafe = judgement.screwdriverLeft && IsSafe(game, kScrewdriver);
    judgement.lastStandSafe = IsSafe(game, kLastStand);
    return judgement;
}

const char* FindForeignMove(const char* moves) {
    for (const char* c = moves; *c; ++c) {
        if (!IsAction(*c) && !IsSkippedInReplay(*c)) {
            return c;
        }
    }
    return nullptr;
}

namespace {

// From `c` on, the next action of a stored game's moves, past the blanks and periods a replay
// skips; null at their end or at a character outside the alphabet.
const char* NextAction(const char* c) {
    while (IsSkippedInReplay(*c)) {
        ++c;
    }
    return IsAction(*c) ? c : nullptr;
}

} // namespace

std::vector<Judgement> ExplainGame(CGame& game, int64_t startTime, const char* moves) {
    CHindsight hindsight;
    std::vector<Judgement> judgements;
    NewGame(game, startTime, nullptr, false);
    for (const char* c = NextAction(moves); c && !game.m_gameOver; c = NextAction(c + 1)) {
        Judgement judgement = hindsight.Judge(game);
        judgement.action = *c;
        PlayMove(game, *c);
        judgement.survived = !game.m_gameOver;
        judgements.push_back(judgement);
    }
    return judgements;
}

std::optional<Judgement> JudgeLastAction(CGame& game, int64_t startTime, const char* moves) {
    const char* last = nullptr;
    for (const char* c = NextAction(moves); c; c = NextAction(c + 1)) {
        last = c;
    }
    if (!last) {
        return std::nullopt;
    }
    NewGame(game, startTime, nullptr, false);
    for (const char* c = NextAction(moves); c != last && !game.m_gameOver; c = NextAction(c + 1)) {
        PlayMove(game, *c);
    }
    if (game.m_gameOver) {
        return std::nullopt;
    }
    CHindsight hindsight;
    Judgement judgement = hindsight.Judge(game);
    judgement.action = *last;
    judgement.survived = hindsight.IsSafe(game, *last);
    return judgement;
}
