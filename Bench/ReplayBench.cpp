// clankmere-bench [DIVISOR]
// clankmere-bench long-game ACTIONS PREFS RECORD_OUT
// Prints how many actions per second the rules replay: standard settings over a long game, and
// games with 555 robots on every level; a DIVISOR shortens the runs, e.g. for a profiler. Not a
// test: it only measures. "long-game" plays a game of at least ACTIONS actions that is still
// under way, under the settings in PREFS (the 196-byte preferences record), and writes the
// game's record, which the start-up benchmark under Wine resumes. It also times the replay
// tool's GIF of the long game, whole, a 200-action part and its first 1000 actions (as long a
// game as the game programs save within a second), and prints their sizes; and how long the
// game programs take to find where the long game, ended by Last Stands, was lost.
// The games are played by a simple player: a step that survives the robots' next step when
// there is one, else the screwdriver, else a teleport.
#include "BoardArt.h"
#include "Game.h"
#include "GameGif.h"
#include "GameRecord.h"
#include "LostMoment.h"
#include "NullGameHost.h"
#include "Preferences.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

// Whether standing on (x, y) survives the robots' next step.
bool IsSafe(const CGame& game, int x, int y) {
    if (x < 0 || x >= kGridWidth || y < 0 || y >= kGridHeight) {
        return false;
    }
    const uint8_t cell = game.Cell(x, y);
    if (cell == kCellRobot || cell == kCellHeap) {
        return false;
    }
    for (const Robot* r = game.m_records; r->isAlive != kEndOfList; ++r) {
        // A robot steps one cell towards the player in each direction.
        if (r->isAlive != kRobotIsDead && r->x + (x > r->x) - (x < r->x) == x &&
            r->y + (y > r->y) - (y < r->y) == y) {
            return false;
        }
    }
    return true;
}

void PlayOneAction(CGame& game) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (IsSafe(game, game.m_playerX + dx, game.m_playerY + dy)) {
                MovePlayer(game, static_cast<int16_t>(dx), static_cast<int16_t>(dy));
                return;
            }
        }
    }
    if (game.m_screwdrivers > 0) {
        UseScrewdriver(game);
    } else {
        Teleport(game);
    }
}

// The actions of a move string: every character but the ". " between levels.
int CountActions(const std::string& moves) {
    return static_cast<int>(
        std::count_if(moves.begin(), moves.end(), [](char c) { return c != '.' && c != ' '; }));
}

// Plays `attempts` games of up to `actions` actions from successive start times, or fewer once
// one is still under way after them (the game is left as it is); returns the longest game's
// start time, and its moves in `longest`.
int64_t PlayLongGame(CGame& game, int64_t firstStart, int attempts, int actions,
                     std::string& longest) {
    int64_t longestStart = 0;
    for (int64_t start = firstStart; start < firstStart + attempts; ++start) {
        NewGame(game, start, nullptr, false);
        for (int i = 0; i < actions && !game.m_gameOver; ++i) {
            PlayOneAction(game);
        }
        if (game.m_moveLogLength > longest.size()) {
            longest = game.m_moveLog;
            longestStart = start;
        }
        if (!game.m_gameOver) {
            break;
        }
    }
    return longestStart;
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

// Times the GIF of `moves` (its actions `part` only, when given) with the repository's art.
void MeasureGif(const char* title, const std::string& moves, int64_t start, const GifPart& part) {
    const std::string folder = FindGraphicsFolder("");
    const BoardArt art = folder.empty() ? GeneratedBoardArt() : LoadBoardArt(folder);
    int frames = 0;
    const std::clock_t begin = std::clock();
    const size_t bytes = MakeGameGif(start, moves.c_str(), nullptr, art, part, &frames).size();
    const double seconds = static_cast<double>(std::clock() - begin) / CLOCKS_PER_SEC;
    std::printf("%-36s %9d frames in %6.3f s CPU: %12zu bytes\n", title, frames, seconds, bytes);
}

// The long game, ended by as many Last Stands as it takes, and the time its lost moment takes to
// find: the replay of every action before the fatal one and the judgement of that position.
void MeasureLostMoment(CGame& game, const std::string& moves, int64_t start) {
    ReplayStoredGame(game, start, moves.c_str());
    while (!game.m_gameOver) {
        PlayMove(game, 'L');
    }
    CLostMoment moment;
    const std::clock_t begin = std::clock();
    const bool found = moment.Find(game);
    const double seconds = static_cast<double>(std::clock() - begin) / CLOCKS_PER_SEC;
    std::printf("%-36s %9d actions in %6.3f ms CPU%s\n", "lost moment of the long game, ended",
                CountActions(game.m_moveLog), seconds * 1000, found ? "" : " (none found)");
}

void MeasureReplay(int divisor) {
    CNullGameHost host;
    {
        CGame game(host, nullptr);
        EnsureGameResources(game);
        std::string moves;
        const int64_t start = PlayLongGame(game, 1000000, 300, 100000, moves);
        std::printf("longest game found: %d actions, start time %lld\n", CountActions(moves),
                    static_cast<long long>(start));
        for (int run = 0; run < 3; ++run) {
            Measure("standard settings, one long game", game, moves, start, 400 / divisor + 1,
                    false);
        }
        MeasureGif("GIF of the long game", moves, start, GifPart{});
        MeasureGif("GIF of its actions 3001-3200", moves, start, GifPart{3001, 3200, 1});
        MeasureGif("GIF of its first 1000 actions", moves, start, GifPart{1, 1000, 1});
        MeasureLostMoment(game, moves, start);
    }
    CGame game(host, nullptr);
    EnsureGameResources(game);
    // A wide screwdriver in stock keeps the player alive among 555 robots a level.
    game.m_prefs.m_robotsBase = 555;
    game.m_prefs.m_screwdriverStockMode = 1;
    game.m_prefs.m_screwdriversPerGame = 30000;
    game.m_prefs.m_screwdriverRadius = 10;
    const std::string moves(5000, 'S');
    for (int run = 0; run < 3; ++run) {
        Measure("555 robots per level", game, moves, 4242, 20 / divisor + 1, true);
    }
}

int WriteLongGame(int actions, const char* prefsPath, const char* recordPath) {
    CPreferencesFile prefsFile(prefsPath);
    CNullGameHost host;
    CGame game(host, &prefsFile);
    EnsureGameResources(game);
    std::string moves;
    PlayLongGame(game, 1700000000, 1000, actions, moves);
    if (game.m_gameOver) {
        std::fprintf(stderr, "clankmere-bench: no game lasted %d actions\n", actions);
        return 1;
    }
    WriteGameRecord(recordPath, static_cast<uint64_t>(game.m_startTime),
                    static_cast<uint32_t>(game.m_score), "Windows", game.m_moveLog);
    std::printf("%d actions, level %u, score %d, start time %lld\n", CountActions(game.m_moveLog),
                static_cast<unsigned>(game.m_level), static_cast<int>(game.m_score),
                static_cast<long long>(game.m_startTime));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "long-game") == 0 && std::atoi(argv[2]) > 0) {
        return WriteLongGame(std::atoi(argv[2]), argv[3], argv[4]);
    }
    if (argc > 2 || (argc == 2 && std::atoi(argv[1]) <= 0)) {
        std::fprintf(stderr, "usage: clankmere-bench [DIVISOR]\n"
                             "       clankmere-bench long-game ACTIONS PREFS RECORD_OUT\n");
        return 2;
    }
    MeasureReplay(argc == 2 ? std::atoi(argv[1]) : 1);
    return 0;
}
