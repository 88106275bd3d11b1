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

enum Region { kSafeZoneRobots, kSafeZoneHeaps, kScrewdriver, kTeleportRobots, kTeleportHeaps };

class RegionTest : public GameTest {
public:
    // The robots, or the heaps, of the first level under the safe zone `radius`, seen from the
    // player. 205 robots and 200 heaps leave few cells of the zone's edge unreached in a level.
    Reach LevelStart(uint32_t seed, int16_t radius, bool heaps) {
        game.m_prefs.m_robotsBase = 200;
        game.m_prefs.m_heapsBase = 200;
        game.m_prefs.m_safeZoneRadius = radius;
        StartGame(seed);
        Reach reach{{{game.m_playerX, game.m_playerY}}, {}};
        for (const Robot* r = game.m_records; r < game.m_robotListEnd && !heaps; ++r) {
            reach.reached.emplace_back(r->x, r->y);
        }
        for (const Robot* r = game.m_lastRecord; r > game.m_heapListEnd && heaps; --r) {
            reach.reached.emplace_back(r->x, r->y);
        }
        return reach;
    }

    // The cells a screwdriver of `radius` empties on a board of robots, seen from the player.
    Reach Screwdriver(uint32_t seed, int16_t radius) {
        StartGame();
        SeedRandom(seed);
        const auto column = static_cast<int16_t>(RandomUpTo(kGridWidth - 1));
        FillWithRobots(column, static_cast<int16_t>(RandomUpTo(kGridHeight - 1)));
        game.m_prefs.m_screwdriverRadius = radius;
        game.m_prefs.m_moveRobotsAfterScrewdriver = 0;
        const std::vector<uint8_t> before(std::begin(game.m_grid), std::end(game.m_grid));
        UseScrewdriver(game);
        Reach reach{{{game.m_playerX, game.m_playerY}}, {}};
        for (int x = 0; x < kGridWidth; ++x) {
            for (int y = 0; y < kGridHeight; ++y) {
                if (before[x * kGridHeight + y] == kCellRobot && game.Cell(x, y) == kCellEmpty) {
                    reach.reached.emplace_back(x, y);
                }
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
        host.Clear();
        Place({"..a.....b.....c.....d.....e", "", "", "", "", "", "", "",
               "..............................A", "", "", "", "", "", "",
               "..S.....S.....S.....S.....S"});
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

    Reach Play(Region region, int16_t setting, uint32_t seed) {
        switch (region) {
        case kSafeZoneRobots:
        case kSafeZoneHeaps:
            return LevelStart(seed, setting, region == kSafeZoneHeaps);
        case kScrewdriver:
            return Screwdriver(seed, setting);
        default:
            return Landing(seed, setting, region == kTeleportHeaps);
        }
    }

private:
    // Every cell but the player's holds a robot, as far as the robots' places go.
    void FillWithRobots(int16_t playerX, int16_t playerY) {
        Place({});
        game.m_playerX = playerX;
        game.m_playerY = playerY;
        Robot* robot = game.m_records;
        for (int16_t x = 0; x < kGridWidth; ++x) {
            for (int16_t y = 0; y < kGridHeight; ++y) {
                if (x == playerX && y == playerY) {
                    game.Cell(x, y) = kCellPlayer;
                } else if (robot < game.m_records + kMaxPlaced) {
                    const Rect cell{x * 16, y * 16, x * 16 + 16, y * 16 + 16};
                    *robot++ = Robot{cell, {}, x, y, 0, 0, 0, kRobotIsAlive};
                    game.Cell(x, y) = kCellRobot;
                }
            }
        }
        robot->isAlive = kEndOfList;
        game.m_robotListEnd = robot;
    }
};

constexpr int kFar = 99;

TEST_F(RegionTest, EachRuleReachesItsSquareOfCellsAndNoFurther) {
    // The region, its setting, how far around its cells to look, and the nearest and farthest
    // distances (the larger of the column and the row difference) that it reaches.
    using Case = std::tuple<Region, int16_t, int, int, int>;
    std::vector<Case> cases = {
        // Robots start outside the safe zone's square; heaps anywhere but on the player.
        {kSafeZoneRobots, 0, 1, 1, kFar},
        {kSafeZoneRobots, 1, 2, 2, kFar},
        {kSafeZoneRobots, 2, 3, 3, kFar},
        {kSafeZoneRobots, 3, 4, 4, kFar},
        {kSafeZoneHeaps, 3, 4, 1, kFar},
        // Rules 1 and 3, and any value that is no rule, land on robots; 2 and 3 on heaps; every
        // rule but 5 beside a robot, and every rule beside a heap.
        {kTeleportRobots, 1, 2, 0, kFar},
        {kTeleportRobots, 2, 2, 1, kFar},
        {kTeleportRobots, 3, 2, 0, kFar},
        {kTeleportRobots, 4, 2, 1, kFar},
        {kTeleportRobots, 5, 2, 2, kFar},
        {kTeleportRobots, 0, 2, 0, kFar},
        {kTeleportRobots, 6, 2, 0, kFar},
        {kTeleportHeaps, 1, 2, 1, kFar},
        {kTeleportHeaps, 2, 2, 0, kFar},
        {kTeleportHeaps, 3, 2, 0, kFar},
        {kTeleportHeaps, 4, 2, 1, kFar},
        {kTeleportHeaps, 5, 2, 1, kFar},
        {kTeleportHeaps, -1, 2, 0, kFar},
    };
    // The screwdriver empties its square around the player, of each radius.
    for (int16_t radius = 1; radius <= 10; ++radius) {
        cases.emplace_back(kScrewdriver, radius, radius + 1, 1, radius);
    }
    for (const auto& [region, setting, around, nearest, farthest] : cases) {
        std::set<Cell> seen, reached;
        for (uint32_t seed = 1; seed <= (region >= kTeleportRobots ? 1000u : 40u); ++seed) {
            const Reach reach = Play(region, setting, seed);
            for (const auto& [fromX, fromY] : reach.from) {
                for (int dx = -around; dx <= around; ++dx) {
                    for (int dy = -around; dy <= around; ++dy) {
                        const int x = fromX + dx, y = fromY + dy;
                        if (x >= 0 && x < kGridWidth && y >= 0 && y < kGridHeight) {
                            seen.emplace(dx, dy);
                        }
                    }
                }
                for (const auto& [x, y] : reach.reached) {
                    if (std::abs(x - fromX) <= around && std::abs(y - fromY) <= around) {
                        reached.emplace(x - fromX, y - fromY);
                    }
                }
            }
        }
        std::ostringstream wrong;
        for (const auto& [dx, dy] : seen) {
            const int distance = std::max(std::abs(dx), std::abs(dy));
            const bool inside = distance >= nearest && distance <= farthest;
            if (inside != (reached.count({dx, dy}) > 0)) {
                wrong << (inside ? " never (" : " at (") << dx << "," << dy << ")";
            }
        }
        EXPECT_EQ(wrong.str(), "") << "region " << region << ", setting " << setting;
    }
}

} // namespace
