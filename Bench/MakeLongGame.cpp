// clankmere-long-game ACTIONS PREFS_OUT RECORD_OUT
// Plays a game of at least ACTIONS actions that is still under way, under settings that let a
// game last that long, and writes those settings (the 196-byte preferences record) and the
// game's record. The start-up benchmark stores them as the registry's settings and as the
// saved game that the program resumes.
#include "Game.h"
#include "GameRecord.h"
#include "NullGameHost.h"
#include "Preferences.h"
#include "SimplePlayer.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The standard robots, up to 555 a level, but a wide screwdriver with plenty in stock: the
// simple player gets far, and the replay crosses hundreds of crowded levels.
void UseLongGameSettings(CPreferences& prefs) {
    prefs.m_screwdriverStockMode = 1;
    prefs.m_screwdriversPerGame = 30000;
    prefs.m_screwdriversPerLevel = 5;
    prefs.m_screwdriverRadius = 4;
}

// Plays from successive start times until a game reaches `actions` actions alive.
bool PlayLongGame(CGame& game, int actions) {
    constexpr int kAttempts = 1000;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        NewGame(game, 1700000000 + attempt, nullptr, false);
        while (!game.m_gameOver && CountActions(game.m_moveLog) < actions) {
            PlayOneAction(game);
        }
        if (!game.m_gameOver) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 || std::atoi(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: clankmere-long-game ACTIONS PREFS_OUT RECORD_OUT\n");
        return 2;
    }
    CPreferencesFile prefsFile(argv[2]);
    CNullGameHost host;
    CGame game(host, &prefsFile);
    EnsureGameResources(game);
    UseLongGameSettings(game.m_prefs);
    if (!PlayLongGame(game, std::atoi(argv[1]))) {
        std::fprintf(stderr, "clankmere-long-game: no game lasted %s actions\n", argv[1]);
        return 1;
    }
    if (!game.m_prefs.Save()) {
        std::fprintf(stderr, "clankmere-long-game: cannot write %s\n", argv[2]);
        return 1;
    }
    WriteGameRecord(argv[3], static_cast<uint64_t>(game.m_startTime),
                    static_cast<uint32_t>(game.m_score), "Windows", game.m_moveLog);
    std::printf("%d actions, level %u, score %d, start time %lld\n", CountActions(game.m_moveLog),
                static_cast<unsigned>(game.m_level), static_cast<int>(game.m_score),
                static_cast<long long>(game.m_startTime));
    return 0;
}
