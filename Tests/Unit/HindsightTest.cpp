// Hindsight: what every alternative of a position would have led to, and whether that holds
// when the alternatives are really played.
#include "Hindsight.h"
#include "GameFixture.h"
#include "LostMoment.h"
#include "Random.h"

namespace {

class HindsightTest : public GameTest {
protected:
    CHindsight hindsight;
};

// The safe alternatives of a judgement as their move characters: "3S" is the step down-right
// and the screwdriver.
std::string SafeList(const Judgement& j) {
    std::string list;
    for (char move = '1'; move <= '9'; ++move) {
        list += j.IsSafeMove(move) ? std::string(1, move) : "";
    }
    return list + (j.teleportSafe ? "T" : "") + (j.screwdriverSafe ? "S" : "") +
           (j.lastStandSafe ? "L" : "");
}

TEST_F(HindsightTest, EveryAlternativeIsJudgedByTheTurnThatFollows) {
    struct Row {
        const char* what;
        Rows board;
        int16_t screwdrivers;
        // The safe moves, screwdriver and Last Stand (the teleport is left out).
        const char* safe;
    };
    const Row rows[] = {
        // Off the board on three sides, a robot above, a heap below: only down-right escapes,
        // and the screwdriver clears the board.
        {"pinned at the edge", {"a", "A", "S"}, 1, "3S"},
        {"surrounded, with a screwdriver", WithFarRobot({"abc", "dAe", "fgh"}, 'i'), 1, "S"},
        {"surrounded, without one", WithFarRobot({"abc", "dAe", "fgh"}, 'i'), 0, ""},
        // The two robots collide on their way in, also during a Last Stand.
        {"robots that collide",
         {"", "", "", "", "........a", "..........A", "........b"},
         1,
         "235689SL"},
        // A lone robot always reaches a player who stands still.
        {"a lone robot", {"A", "", "", "", "", ".....a"}, 1, "2356S"},
    };
    for (const Row& row : rows) {
        Start(row.board);
        game.m_screwdrivers = row.screwdrivers;
        const Judgement judgement = hindsight.Judge(game);
        std::string safe = SafeList(judgement);
        safe.erase(std::remove(safe.begin(), safe.end(), 'T'), safe.end());
        EXPECT_EQ(safe, row.safe) << row.what;
        EXPECT_EQ(judgement.screwdriverLeft, row.screwdrivers > 0) << row.what;
    }
}

TEST_F(HindsightTest, ATeleportLandsWhereTheGamesGeneratorPutsIt) {
    for (const bool robotThere : {false, true}) {
        Start(WithFarRobot({"A"}));
        // Under the standard rule the first cell drawn takes the player unless it is a heap.
        const RandomState random = SaveRandomState();
        const auto x = static_cast<int16_t>(RandomUpTo(kGridWidth - 1));
        const auto y = static_cast<int16_t>(RandomUpTo(kGridHeight - 1));
        RestoreRandomState(random);
        ASSERT_EQ(game.Cell(x, y), kCellEmpty);
        if (robotThere) {
            game.Cell(x, y) = kCellRobot;
            game.m_records[1] = Robot{{}, {}, x, y, 0, 0, 0, kRobotIsAlive};
            game.m_records[2].isAlive = kEndOfList;
            game.m_robotListEnd = game.m_records + 2;
        }
        const Judgement judgement = hindsight.Judge(game);
        EXPECT_EQ(judgement.teleportSafe, !robotThere) << "robot at " << x << "," << y;
        EXPECT_EQ(SafeList(judgement), robotThere ? "2356S" : "2356TS");
        // Judging drew nothing from the generator: the game's own teleport lands there.
        Teleport(game);
        EXPECT_EQ(game.m_gameOver, robotThere);
        EXPECT_TRUE(robotThere || (game.m_playerX == x && game.m_playerY == y))
            << "landed at " << game.m_playerX << "," << game.m_playerY;
    }
}

int ActionCount(const std::string& moves) {
    return static_cast<int>(
        std::count_if(moves.begin(), moves.end(), [](char c) { return c != '.' && c != ' '; }));
}

// Plays `actions` actions that the hindsight calls safe (the first safe step, else the first
// safe special action), then Last Stands until one is fatal; returns the moves.
std::string PlayGame(CGame& game, int64_t startTime, int actions) {
    CHindsight hindsight;
    NewGame(game, startTime, nullptr, false);
    for (int i = 0; !game.m_gameOver && i < 2 * actions; ++i) {
        const std::string safe = SafeList(hindsight.Judge(game));
        char action = safe.empty() ? '5' : safe[0];
        if (i >= actions && safe.find('L') == std::string::npos) {
            action = 'L';
        }
        PlayMove(game, action);
    }
    return game.m_moveLog;
}

TEST(HindsightGameTest, ALongGamesVerdictsHoldWhenTheAlternativesAreReplayed) {
    struct Settings {
        const char* what;
        void (*change)(CPreferences&);
    };
    const Settings settings[] = {
        {"standard settings", [](CPreferences&) {}},
        {"changed settings",
         [](CPreferences& p) {
             p.m_teleportRule = 5;
             p.m_moveRobotsAfterScrewdriver = 0;
             p.m_screwdriverRadius = 2;
             p.m_screwdriverStockMode = 1;
             p.m_heapsBase = 4;
         }},
    };
    for (const Settings& setting : settings) {
        SCOPED_TRACE(setting.what);
        CNullGameHost host;
        CGame played(host, nullptr);
        CGame explained(host, nullptr);
        CGame replayed(host, nullptr);
        // After the first preparation, which would load the defaults over the settings.
        for (CGame* game : {&played, &explained, &replayed}) {
            EnsureGameResources(*game);
            setting.change(game->m_prefs);
        }
        // The first of these start times whose game crosses four levels.
        int64_t start = 1700000000;
        std::string moves;
        while ((moves = PlayGame(played, ++start, 240)), played.m_level < 4 || !played.m_gameOver) {
            ASSERT_LT(start, 1700000100);
        }
        const std::vector<Judgement> judgements = ExplainGame(explained, start, moves.c_str());
        ReplayStoredGame(replayed, start, moves.c_str());
        EXPECT_EQ(std::string(explained.m_moveLog), replayed.m_moveLog);
        EXPECT_EQ(explained.m_score, replayed.m_score);
        EXPECT_TRUE(explained.m_gameOver);
        ASSERT_EQ(static_cast<int>(judgements.size()), ActionCount(moves));

        // Every verdict, safe or fatal, against the replay of the moves before it and that
        // alternative alone.
        std::string before;
        int cornered = 0;
        for (size_t i = 0; i < judgements.size(); ++i) {
            const Judgement& j = judgements[i];
            const std::string safe = SafeList(j);
            for (const char alternative : std::string("123456789TSL")) {
                ReplayStoredGame(replayed, start, (before + alternative).c_str());
                const bool survived = !replayed.m_gameOver &&
                                      ActionCount(replayed.m_moveLog) == static_cast<int>(i) + 1;
                EXPECT_EQ(survived, safe.find(alternative) != std::string::npos)
                    << "action " << i + 1 << " (" << before << "), alternative " << alternative;
            }
            EXPECT_EQ(j.survived, i + 1 < judgements.size()) << "action " << i + 1;
            cornered += j.SafeMoveCount() == 0 ? 1 : 0;
            before += j.action;
        }
        EXPECT_GT(cornered, 0) << "the game should hold turns with no safe step";
    }
}

} // namespace

// The lost moment of a finished game: the position before its fatal action, what would have
// survived it, as the explanation judges it, under the game's own settings.
TEST(LostMomentTest, ShowsThePositionBeforeTheFatalActionWithWhatWouldHaveSurvived) {
    struct Row {
        int64_t start;
        const char* moves;
        int16_t robotsBase;
        // The steps and the wait that would have survived, and the status line.
        const char* safeMoves;
        const char* texts;
    };
    constexpr int16_t kStandard = 0;
    const Row rows[] = {
        {1700000000, "777778855555S55T7777777778 5", kStandard, "369",
         "Teleport: safe|Screwdriver: none left|Last Stand: fatal"},
        {1700000021, "TTTT", kStandard, "235689",
         "Teleport: fatal|Screwdriver: safe|Last Stand: safe"},
        // Waits until the robots come: eight of them on the first level, not the standard five.
        {1700000000, "555555555555555555555555555555", 3, "47",
         "Teleport: safe|Screwdriver: safe|Last Stand: fatal"},
    };
    CNullGameHost host;
    CGame game(host, nullptr);
    CGame before(host, nullptr);
    EnsureGameResources(game);
    EnsureGameResources(before);
    CLostMoment moment;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.moves);
        for (CGame* g : {&game, &before}) {
            g->m_prefs.m_robotsBase = row.robotsBase;
        }
        ReplayStoredGame(game, row.start, row.moves);
        std::string prefix = game.m_moveLog;
        prefix.pop_back();
        ReplayStoredGame(before, row.start, prefix.c_str());
        // The generator where the live game left it, not where the replay leaves it.
        SeedRandom(1);
        const RandomState random = SaveRandomState();
        ASSERT_TRUE(moment.Find(game));
        const RandomState after = SaveRandomState();
        EXPECT_EQ(std::memcmp(&after, &random, sizeof random), 0);
        EXPECT_EQ(std::memcmp(moment.Board().m_grid, before.m_grid, sizeof before.m_grid), 0);
        std::string safe;
        for (int dy = 1; dy >= -1; --dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                safe += moment.WouldSurvive(dx, dy) ? std::to_string(5 + dx - 3 * dy) : "";
            }
        }
        EXPECT_EQ(safe, row.safeMoves);
        EXPECT_EQ(moment.TeleportText() + "|" + moment.ScrewdriverText() + "|" +
                      moment.LastStandText(),
                  row.texts);
    }
    // A game under way has none.
    NewGame(game, 1700000000, nullptr, false);
    PlayMove(game, '5');
    EXPECT_FALSE(moment.Find(game));
}
