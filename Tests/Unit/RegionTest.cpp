// How far the rules that keep things out of part of the board, or let them in, reach: the safe
// zone at a level's start, what each teleport rule may land on, and the screwdriver's square.
// Each is measured on both sides of its edge, over many seeds: the cells it keeps things out of
// are never reached, and every cell it lets things into, up to one cell past its edge, is.
#include "GameFixture.h"
#include "Random.h"

#include <cstdlib>
#include <set>
#include <sstream>
#include <tuple>

namespace {

using Cell = std::pair<int, int>;

// What one seed's play left: the cells the rule is measured from, and the cells it reached.
struct Reach {
    std::vector<Cell> from;
    std::vector<Cell> reached;
};

class RegionTest : public GameTest {
public:
    // The robots, or the heaps, of the first level under the safe zone `radius`, seen from the
    // player. 205 robots and 200 heaps leave few cells of the zone's edge unreached in a level.
    Reach LevelStart(uint32_t seed, int16_t radius, bool heaps) {
        game.m_prefs.m_robotsBase = game.m_prefs.m_heapsBase = 200;
        game.m_prefs.m_safeZoneRadius = radius;
        StartGame(seed);
        Reach reach{{{game.m_playerX, game.m_playerY}}, {}};
        const Robot* const end = heaps ? game.m_lastRecord + 1 : game.m_robotListEnd;
        for (const Robot* r = heaps ? game.m_heapListEnd + 1 : game.m_records; r < end; ++r) {
            reach.reached.emplace_back(r->x, r->y);
        }
        return reach;
    }

    // The cells a screwdriver of `radius` empties on a board of robots (as many as there are
    // places for), seen from the player.
    Reach Screwdriver(uint32_t seed, int16_t radius) {
        StartGame();
        Place({});
        SeedRandom(seed);
        game.m_playerX = static_cast<int16_t>(RandomUpTo(kGridWidth - 1));
        game.m_playerY = static_cast<int16_t>(RandomUpTo(kGridHeight - 1));
        Robot* robot = game.m_records;
        for (int i = 0; i < kNumCells; ++i) {
            const auto x = static_cast<int16_t>(i / kGridHeight);
            const auto y = static_cast<int16_t>(i % kGridHeight);
            if (x == game.m_playerX && y == game.m_playerY) {
                game.m_grid[i] = kCellPlayer;
            } else if (robot < game.m_records + kMaxPlaced) {
                *robot++ = Robot{{}, {}, x, y, 0, 0, 0, kRobotIsAlive};
                game.m_grid[i] = kCellRobot;
            }
        }
        robot->isAlive = kEndOfList;
        game.m_robotListEnd = robot;
        game.m_prefs.m_screwdriverRadius = radius;
        game.m_prefs.m_moveRobotsAfterScrewdriver = 0;
        const std::vector<uint8_t> before(std::begin(game.m_grid), std::end(game.m_grid));
        UseScrewdriver(game);
        Reach reach{{{game.m_playerX, game.m_playerY}}, {}};
        for (int i = 0; i < kNumCells; ++i) {
            if (before[i] == kCellRobot && game.m_grid[i] == kCellEmpty) {
                reach.reached.emplace_back(i / kGridHeight, i % kGridHeight);
            }
        }
        return reach;
    }

    // Where a teleport under `rule` lands, seen from each robot of the top row or each heap
    // near the bottom row (from which the bottom row is two cells away).
    Reach Landing(uint32_t seed, int16_t rule, bool heaps) {
        if (game.m_gameOver) {
            StartGame(); // after a landing on a robot or a heap
        }
        Place({"..a.....b.....c.....d.....e", "", "", "", "", "", "", "",
               "..............................A", "", "", "", "", "", "",
               "..S.....S.....S.....S.....S"});
        host.Clear();
        game.m_prefs.m_teleportRule = rule;
        game.m_prefs.m_moveRobotsAfterTeleport = 0;
        SeedRandom(seed * 2654435761u); // spread out: consecutive seeds start alike
        const std::vector<uint8_t> before(std::begin(game.m_grid), std::end(game.m_grid));
        Teleport(game);
        Reach reach;
        for (int x = 2; x < kGridWidth; x += 6) {
            reach.from.emplace_back(x, heaps ? 15 : 0);
        }
        int x = 0, y = 0;
        const Calls landed = host.Only({"SetPlayerCell"});
        if (landed.empty() || std::sscanf(landed[0].c_str(), "SetPlayerCell(%d,%d)", &x, &y) != 2) {
            ADD_FAILURE() << "rule " << rule << ", seed " << seed << ": no landing";
            return reach;
        }
        reach.reached.emplace_back(x, y);
        // Landing on a robot leaves a heap where the player dies; landing on a heap does not.
        const uint8_t cell = before[x * kGridHeight + y];
        const std::string death = cell == kCellRobot  ? "AnimatePlayerDeath:heap"
                                  : cell == kCellHeap ? "AnimatePlayerDeath:clear"
                                                      : "";
        EXPECT_EQ(host.Only({"AnimatePlayerDeath"}),
                  death.empty() ? Calls{} : Calls{death + landed[0].substr(13)})
            << "rule " << rule << ", seed " << seed;
        return reach;
    }
};

constexpr int kFar = 99;

TEST_F(RegionTest, EachRuleReachesItsSquareOfCellsAndNoFurther) {
    // What is measured, how far around its cells to look, the nearest and farthest distances
    // (the larger of the column and the row difference) that it reaches, seeds, and its play.
    struct Case {
        std::string what;
        int around, nearest, farthest;
        uint32_t seeds;
        std::function<Reach(uint32_t)> play;
    };
    // Robots start outside the safe zone's square; heaps anywhere but on the player.
    std::vector<Case> cases = {{"heaps, safe zone 3", 4, 1, kFar, 40,
                                [this](uint32_t seed) { return LevelStart(seed, 3, true); }}};
    for (int16_t r = 0; r <= 3; ++r) {
        cases.push_back({"robots, safe zone " + std::to_string(r), r + 1, r + 1, kFar, 40,
                         [this, r](uint32_t seed) { return LevelStart(seed, r, false); }});
    }
    // The screwdriver empties its square around the player, of each radius.
    for (int16_t r = 1; r <= 10; ++r) {
        cases.push_back({"screwdriver, radius " + std::to_string(r), r + 1, 1, r, 40,
                         [this, r](uint32_t seed) { return Screwdriver(seed, r); }});
    }
    // Rules 1 and 3, and any value that is no rule, land on robots; 2 and 3 on heaps; every
    // rule but 5 beside a robot, and every rule beside a heap.
    using Rule = std::tuple<int16_t, int, int>; // the nearest landing to a robot, to a heap
    for (auto [rule, robot, heap] : {Rule{1, 0, 1}, Rule{2, 1, 0}, Rule{3, 0, 0}, Rule{4, 1, 1},
                                     Rule{5, 2, 1}, Rule{0, 0, 0}, Rule{6, 0, 0}, Rule{-1, 0, 0}}) {
        for (const bool heaps : {false, true}) {
            cases.push_back(
                {"teleport rule " + std::to_string(rule) + (heaps ? ", heaps" : ""), 2,
                 heaps ? heap : robot, kFar, 1000,
                 [this, rule = rule, heaps](uint32_t seed) { return Landing(seed, rule, heaps); }});
        }
    }
    for (const Case& c : cases) {
        std::set<Cell> seen, reached;
        for (uint32_t seed = 1; seed <= c.seeds; ++seed) {
            const Reach reach = c.play(seed);
            for (const auto& [fromX, fromY] : reach.from) {
                for (int x = fromX - c.around; x <= fromX + c.around; ++x) {
                    for (int y = fromY - c.around; y <= fromY + c.around; ++y) {
                        if (x >= 0 && x < kGridWidth && y >= 0 && y < kGridHeight) {
                            seen.emplace(x - fromX, y - fromY);
                        }
                    }
                }
                for (const auto& [x, y] : reach.reached) {
                    if (std::abs(x - fromX) <= c.around && std::abs(y - fromY) <= c.around) {
                        reached.emplace(x - fromX, y - fromY);
                    }
                }
            }
        }
        std::ostringstream wrong;
        for (const auto& [dx, dy] : seen) {
            const int distance = std::max(std::abs(dx), std::abs(dy));
            if ((distance >= c.nearest && distance <= c.farthest) !=
                (reached.count({dx, dy}) > 0)) {
                wrong << (reached.count({dx, dy}) ? " at (" : " never (") << dx << "," << dy << ")";
            }
        }
        EXPECT_EQ(wrong.str(), "") << c.what;
    }
}

} // namespace
