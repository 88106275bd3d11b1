// clankmere-soak [GAMES] [SEED]
// Plays random games through the rules under random settings, absurd ones included, and checks
// the board's invariants after every action. A game that ended is replayed from its move log and
// must reach the same position. Prints what it checked; exits 1 at the first broken invariant.
#include "CommandIds.h"
#include "Game.h"
#include "NullGameHost.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>

namespace {

using Rng = std::mt19937;

int16_t AnyShort(Rng& rng) {
    // Mostly sensible values, sometimes anything at all.
    static const int16_t kOdd[] = {0, 1, 2, 3, 5, 10, 100, 555, -1, -3, 32767, -32768};
    return rng() % 4 == 0 ? static_cast<int16_t>(rng()) : kOdd[rng() % std::size(kOdd)];
}

int32_t AnyLong(Rng& rng) {
    static const int32_t kOdd[] = {0, 1, 2, 10, -1, -2, -7, 1000, INT32_MAX, INT32_MIN};
    return rng() % 3 == 0 ? static_cast<int32_t>(rng()) : kOdd[rng() % 10];
}

void RandomSettings(CPreferences& p, Rng& rng) {
    p.SetDefaults();
    if (rng() % 3 == 0) {
        return; // a third of the games use the standard rules
    }
    p.m_robotKillPoints = AnyLong(rng);
    p.m_screwdriverMultiplier = AnyLong(rng);
    p.m_lastStandMultiplier = AnyLong(rng);
    p.m_multipleKillMultiplier = AnyLong(rng);
    p.m_teleportRule = rng() % 2 ? static_cast<int16_t>(rng() % 7) : AnyShort(rng);
    p.m_safeZoneRadius = rng() % 2 ? static_cast<int16_t>(rng() % 4) : AnyShort(rng);
    p.m_screwdriversPerGame = AnyShort(rng);
    p.m_screwdriversPerLevel = AnyShort(rng);
    p.m_screwdriverRadius = AnyShort(rng);
    p.m_robotsPerLevel = rng() % 2 ? static_cast<int16_t>(rng() % 40) : AnyShort(rng);
    p.m_robotsBase = rng() % 2 ? static_cast<int16_t>(rng() % 40) : AnyShort(rng);
    p.m_heapsPerLevel = rng() % 2 ? static_cast<int16_t>(rng() % 10) : AnyShort(rng);
    p.m_heapsBase = rng() % 2 ? static_cast<int16_t>(rng() % 10) : AnyShort(rng);
    p.m_moveRobotsAfterTeleport = static_cast<uint8_t>(rng() % 3);
    p.m_moveRobotsAfterScrewdriver = static_cast<uint8_t>(rng() % 3);
    p.m_screwdriverStockMode = static_cast<uint8_t>(rng() % 2);
}

std::string Fail(const char* what, int x, int y) {
    return std::string(what) + " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// Empty when every invariant of a game at rest holds, otherwise what is broken.
std::string CheckInvariants(const CGame& game) {
    if (game.m_busy) {
        return "busy between actions";
    }
    if (game.m_moveLog &&
        (game.m_moveLogEnd != game.m_moveLog + game.m_moveLogLength || *game.m_moveLogEnd != '\0' ||
         game.m_moveLogLength >= game.m_moveLogCapacity)) {
        return "move log out of step";
    }
    if (game.m_gameOver) {
        return ""; // a caught player leaves the turn's codes on the board
    }
    for (int i = 0; i < kNumCells; ++i) {
        const uint8_t cell = game.m_grid[i];
        if (cell != kCellEmpty && cell != kCellRobot && cell != kCellPlayer && cell != kCellHeap) {
            return Fail("a turn's code left on the board", i / kGridHeight, i % kGridHeight);
        }
    }
    if (std::count(std::begin(game.m_grid), std::end(game.m_grid), kCellPlayer) != 1 ||
        game.Cell(game.m_playerX, game.m_playerY) != kCellPlayer) {
        return "not exactly one player, at its own position";
    }
    // Every live robot claims its cell, which must be a robot cell no other robot claimed.
    uint8_t unclaimed[kNumCells];
    std::copy(std::begin(game.m_grid), std::end(game.m_grid), unclaimed);
    for (const Robot* r = game.m_records; r->isAlive != kEndOfList; ++r) {
        if (r->isAlive == kRobotIsDead) {
            continue;
        }
        uint8_t& cell = unclaimed[r->x * kGridHeight + r->y];
        if (r->isAlive != kRobotIsAlive || cell != kCellRobot) {
            return Fail("a live robot not alone on a robot cell", r->x, r->y);
        }
        cell = kCellEmpty;
    }
    if (std::count(std::begin(unclaimed), std::end(unclaimed), kCellRobot) != 0) {
        return "robot cells without a live robot";
    }
    for (const Robot* h = game.m_lastRecord; h->isAlive != kEndOfList; --h) {
        if (game.Cell(h->x, h->y) != kCellHeap) {
            return Fail("a heap record off a heap cell", h->x, h->y);
        }
    }
    return "";
}

// One of the eight steps, waiting (twice as likely), or teleport, the screwdriver, the three Last
// Stands and the grid, whose commands follow one another.
int RandomCommand(Rng& rng) {
    static_assert(IDM_STEP_SOUTH_EAST == IDM_STEP_WEST + 7 && IDM_TOGGLE_GRID == IDM_TELEPORT + 5);
    const int pick = static_cast<int>(rng() % 16);
    return pick < 8 ? IDM_STEP_WEST + pick : pick < 10 ? IDM_WAIT : IDM_TELEPORT + pick - 10;
}

std::string Position(const CGame& game) {
    std::string text(reinterpret_cast<const char*>(game.m_grid), kNumCells);
    return text + " score " + std::to_string(game.m_score) + " level " +
           std::to_string(game.m_level) + " screwdrivers " + std::to_string(game.m_screwdrivers);
}

// Plays one game, counting its actions and compared replays; returns an empty text or the first
// broken invariant.
std::string SoakOneGame(CGame& game, Rng& rng, long long& actions, long long& replays) {
    RandomSettings(game.m_prefs, rng);
    NewGame(game, 1 + static_cast<int64_t>(rng() % 0xFFFFFFFFu), nullptr, false);
    bool replayable = true;
    const int maxActions = 1 + static_cast<int>(rng() % 400);
    for (int i = 0; i < maxActions && !game.m_gameOver; ++i) {
        const int command = RandomCommand(rng);
        const uint32_t logged = game.m_moveLogLength;
        HandleGameCommand(game, command);
        ++actions;
        // A refused teleport draws from the generator without a trace in the log.
        replayable = replayable && !(command == IDM_TELEPORT && game.m_moveLogLength == logged);
        const std::string broken = CheckInvariants(game);
        if (!broken.empty()) {
            return broken + " after command " + std::to_string(command) + ", log " + game.m_moveLog;
        }
    }
    if (!replayable || !game.m_moveLog) {
        return "";
    }
    const std::string played = Position(game);
    const std::string log = game.m_moveLog;
    const bool over = game.m_gameOver;
    ReplayStoredGame(game, game.m_startTime, log.c_str());
    ++replays;
    if (Position(game) != played || game.m_gameOver != over || log != game.m_moveLog) {
        return "the replay of \"" + log + "\" reached another position";
    }
    return "";
}

} // namespace

int main(int argc, char** argv) {
    const long games = argc > 1 ? std::atol(argv[1]) : 1000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 20261206u;
    Rng rng(seed);
    CNullGameHost host;
    CGame game(host, nullptr);
    EnsureGameResources(game);
    long long actions = 0, replays = 0;
    for (long g = 0; g < games; ++g) {
        const std::string broken = SoakOneGame(game, rng, actions, replays);
        if (!broken.empty()) {
            std::printf("game %ld (seed %u): %s\n0 passed, 1 failed\n", g, seed, broken.c_str());
            return 1;
        }
    }
    std::printf("soak: %ld games, %lld actions, %lld replays compared, seed %u\n", games, actions,
                replays, seed);
    return 0;
}
