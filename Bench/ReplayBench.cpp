// Prints how many actions per second the rules replay: standard settings over a long game, and
// games with 555 robots on every level. Not a test: it only measures.
#include "Game.h"
#include "NullGameHost.h"
#include "SimplePlayer.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// Plays games until one has `actions` actions or `attempts` games were tried; returns the
// longest move log.
std::string PlayLongGame(CGame& game, int actions, int attempts, int64_t& startTime) {
    std::string longest;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const int64_t start = 1000000 + attempt;
        NewGame(game, start, nullptr, false);
        for (int i = 0; i < actions && !game.m_gameOver; ++i) {
            PlayOneAction(game);
        }
        if (game.m_moveLogLength > longest.size()) {
            longest = game.m_moveLog;
            startTime = start;
        }
        if (static_cast<int>(longest.size()) >= actions) {
            break;
        }
    }
    return longest;
}

// Replays `moves` `repeats` times, from `firstStart` or from successive start times, and prints
// the rate of the actions actually replayed (a game that ends leaves the rest unplayed).
void Measure(const char* title, CGame& game, const std::string& moves, int64_t firstStart,
             int repeats, bool successiveStarts) {
    long long actions = 0;
    // Processor time of this one thread, so that other work on the machine does not count.
    const std::clock_t begin = std::clock();
    for (int i = 0; i < repeats; ++i) {
        ReplayStoredGame(game, successiveStarts ? firstStart + i : firstStart, moves.c_str());
        actions += CountActions(game.m_moveLog);
    }
    const double seconds = static_cast<double>(std::clock() - begin) / CLOCKS_PER_SEC;
    std::printf("%-36s %9lld actions in %6.3f s CPU: %12.0f actions/s\n", title, actions, seconds,
                static_cast<double>(actions) / (seconds > 0 ? seconds : 1e-9));
}

} // namespace

int main(int argc, char** argv) {
    // An optional divisor shortens the runs, e.g. for a profiler.
    const int divisor = argc > 1 ? std::atoi(argv[1]) : 1;
    const int games = divisor > 0 ? 20 / divisor + 1 : 20;
    CNullGameHost host;
    {
        CGame game(host, nullptr);
        EnsureGameResources(game);
        int64_t start = 0;
        const std::string moves = PlayLongGame(game, 100000, 300, start);
        std::printf("longest game found: %d actions, start time %lld\n", CountActions(moves),
                    static_cast<long long>(start));
        for (int run = 0; run < 3; ++run) {
            Measure("standard settings, one long game", game, moves, start, 400 / divisor + 1,
                    false);
        }
    }
    {
        CGame game(host, nullptr);
        EnsureGameResources(game);
        // A wide screwdriver in stock keeps the player alive among 555 robots a level.
        game.m_prefs.m_robotsBase = 555;
        game.m_prefs.m_screwdriverStockMode = 1;
        game.m_prefs.m_screwdriversPerGame = 30000;
        game.m_prefs.m_screwdriverRadius = 10;
        const std::string moves(5000, 'S');
        for (int run = 0; run < 3; ++run) {
            Measure("555 robots per level", game, moves, 4242, games, true);
        }
    }
    return 0;
}
