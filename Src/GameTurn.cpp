// A turn: the player's step and the robots' answer, with collisions, heaps and kill scores.
#include "Game.h"

#include "Random.h"

namespace {

int16_t StepToward(int16_t from, int16_t to) {
    if (from > to) {
        return -1;
    }
    return from < to ? 1 : 0;
}

char StepDigit(int16_t dx, int16_t dy) {
    // The layout of the numeric keypad: 7 8 9 / 4 5 6 / 1 2 3.
    static const char kDigits[3][3] = {{'7', '8', '9'}, {'4', '5', '6'}, {'1', '2', '3'}};
    return kDigits[dy + 1][dx + 1];
}

bool IsOnBoard(int x, int y) {
    return x >= 0 && x < kGridWidth && y >= 0 && y < kGridHeight;
}

Rect CellRect(int x, int y) {
    return {x * kCellPixels, y * kCellPixels, x * kCellPixels + kCellPixels,
            y * kCellPixels + kCellPixels};
}

void ClearExplosions(CGame& game) {
    game.m_explosionCount = 0;
    game.m_explosionRects[0].right = 0;
}

void AddExplosion(CGame& game, int x, int y) {
    if (game.m_explosionCount >= kMaxExplosions) {
        return;
    }
    // Explosion frames are 20 pixels high and start one pixel below the cell's top.
    game.m_explosionRects[game.m_explosionCount++] = {
        x * kCellPixels, y * kCellPixels + 1, x * kCellPixels + kCellPixels, y * kCellPixels + 21};
    game.m_explosionRects[game.m_explosionCount].right = 0;
}

// A collision leaves a heap; it takes the slot at the heap list's end marker. When the heap
// list has grown down to the robot list, the heap may take over a dead robot at the robot
// list's end; a robot still alive (or dying this turn) keeps its slot and the heap exists on
// the board only.
void AddHeapRecord(CGame& game, int16_t x, int16_t y) {
    Robot* slot = game.m_heapListEnd;
    if (slot == game.m_records) {
        return;
    }
    Robot* front = slot - 1;
    bool frontIsRobot = front < game.m_robotListEnd;
    if (frontIsRobot && front->isAlive != kRobotIsDead) {
        return;
    }
    slot->rect = CellRect(x, y);
    slot->x = x;
    slot->y = y;
    slot->isAlive = kRobotIsAlive;
    front->isAlive = kEndOfList;
    game.m_heapListEnd = front;
    if (frontIsRobot) {
        game.m_robotListEnd = front;
    }
}

// The robots that take this turn's step, in list order, and the cells where one of them landed
// on something: bit x of row y. A turn touches only these, not the whole record array, whose
// dead robots stay in it until the level ends.
struct TurnRobots {
    Robot* moved[kNumCells];
    int count = 0;
    uint32_t landedOnSomething[kGridHeight] = {};
};

// Turns every cell where robots met, or ran into a heap, into a heap (row by row, which orders
// the heap records and explosions), then marks the robots standing there as dying.
int ResolveCollisions(CGame& game, const TurnRobots& turn) {
    bool collided[kNumCells] = {};
    for (int16_t y = 0; y < kGridHeight; ++y) {
        // Column by column: the lowest bit left is the next column.
        for (uint32_t row = turn.landedOnSomething[y]; row != 0; row &= row - 1) {
            const auto x = static_cast<int16_t>(__builtin_ctz(row));
            uint8_t& cell = game.Cell(x, y);
            if (cell >= '2' && cell <= '8') {
                cell = kCellHeap;
                AddHeapRecord(game, x, y);
            } else if (cell >= 'T' && cell <= 'V') {
                cell = kCellHeap;
            } else {
                continue;
            }
            collided[x * kGridHeight + y] = true;
            AddExplosion(game, x, y);
        }
    }
    int kills = 0;
    for (int i = 0; i < turn.count; ++i) {
        Robot* r = turn.moved[i];
        if (collided[r->x * kGridHeight + r->y]) {
            r->isAlive = kRobotIsDying;
            ++kills;
        }
    }
    return kills;
}

// Dying robots become dead and leave heaps; returns the points and whether robots remain.
uint32_t BuryDyingRobots(CGame& game, const TurnRobots& turn, bool& robotsRemain) {
    uint32_t points = 0;
    robotsRemain = false;
    for (int i = 0; i < turn.count; ++i) {
        Robot* r = turn.moved[i];
        if (r->isAlive == kRobotIsDying) {
            r->isAlive = kRobotIsDead;
            game.Cell(r->x, r->y) = kCellHeap;
            points += static_cast<uint32_t>(game.m_prefs.m_robotKillPoints);
        } else {
            robotsRemain = true;
        }
    }
    return points;
}

// Scores use signed 32-bit arithmetic that wraps around, whatever the multipliers.
uint32_t ApplyMultipleKillFactor(const CGame& game, uint32_t points, int kills) {
    int32_t m = game.m_prefs.m_multipleKillMultiplier;
    if (kills <= 1) {
        return points;
    }
    if (m > 1) {
        return points * static_cast<uint32_t>(m);
    }
    if (m < -1) {
        for (int i = 1; i < kills; ++i) {
            points *= 0u - static_cast<uint32_t>(m);
        }
    }
    return points;
}

void ScorePoints(CGame& game, uint32_t points) {
    if (static_cast<int32_t>(points) <= 0) {
        return;
    }
    if (game.m_lastStandMode == 1 && game.m_prefs.m_lastStandMultiplier > 1) {
        points *= static_cast<uint32_t>(game.m_prefs.m_lastStandMultiplier);
    }
    game.m_score = static_cast<int32_t>(static_cast<uint32_t>(game.m_score) + points);
    game.m_host.DrawStatusLine();
}

} // namespace

void MovePlayer(CGame& game, int16_t dx, int16_t dy) {
    if (game.m_gameOver || game.m_closing) {
        return;
    }
    const int16_t x = static_cast<int16_t>(game.m_playerX + dx);
    const int16_t y = static_cast<int16_t>(game.m_playerY + dy);
    if (!IsOnBoard(x, y)) {
        game.m_host.RefuseAction();
        return;
    }
    game.m_busy = true;
    AppendMove(game, StepDigit(dx, dy));
    game.m_host.HideArrows();
    if (dx != 0 || dy != 0) {
        uint8_t target = game.Cell(x, y);
        if (target == kCellRobot) {
            PlayerDies(game, game.m_playerX, game.m_playerY, x, y, -1, -1, true);
            return;
        }
        if (target == kCellHeap) {
            PlayerDies(game, game.m_playerX, game.m_playerY, -1, -1, x, y, true);
            return;
        }
        game.m_host.AnimatePlayerStep(dx, dy);
        game.Cell(game.m_playerX, game.m_playerY) = kCellEmpty;
        game.Cell(x, y) = kCellPlayer;
        game.m_playerX = x;
        game.m_playerY = y;
        game.m_host.SetPlayerCell(x, y);
        game.m_busy = false;
    }
    MoveRobots(game);
    game.m_host.DrawArrows();
}

void MoveRobots(CGame& game) {
    game.m_busy = true;
    RandomUpTo(999);
    ClearExplosions(game);
    int collisions = 0;
    TurnRobots turn;
    for (Robot* r = game.m_records; r->isAlive != kEndOfList; ++r) {
        if (r->isAlive == kRobotIsDead) {
            continue;
        }
        turn.moved[turn.count++] = r;
        r->dx = StepToward(r->x, game.m_playerX);
        r->dy = StepToward(r->y, game.m_playerY);
        game.m_host.SetRobotStepRects(*r);
        uint8_t& from = game.Cell(r->x, r->y);
        if (from == kCellRobot) {
            from = kCellEmpty;
        } else if (from >= '2' && from <= '8') {
            --from;
        }
        r->x = static_cast<int16_t>(r->x + r->dx);
        r->y = static_cast<int16_t>(r->y + r->dy);
        uint8_t& to = game.Cell(r->x, r->y);
        if (to == kCellEmpty) {
            to = kCellRobot;
            continue;
        }
        ++collisions;
        turn.landedOnSomething[r->y] |= 1u << r->x;
        if (to == kCellPlayer) {
            // The catch ends the turn at once: later robots stay, nothing is resolved.
            r->x = static_cast<int16_t>(r->x - r->dx);
            r->y = static_cast<int16_t>(r->y - r->dy);
            PlayerDies(game, game.m_playerX, game.m_playerY, r->x, r->y, -1, -1, true);
            game.m_busy = false;
            return;
        }
        ++to;
    }
    // Collisions are resolved only after every robot moved, so that only robots that end the
    // turn together collide.
    int kills = collisions > 0 ? ResolveCollisions(game, turn) : 0;
    game.m_host.AnimateRobotSteps();
    uint32_t points = 0;
    bool robotsRemain = true;
    if (kills > 0) {
        PlayGameSound(game, kSoundRobotDies);
        game.m_host.AnimateExplosions();
        points = BuryDyingRobots(game, turn, robotsRemain);
        game.m_host.SetPlayerCell(game.m_playerX, game.m_playerY);
        game.m_host.RedrawPlayer();
    }
    game.m_busy = false;
    ScorePoints(game, ApplyMultipleKillFactor(game, points, kills));
    if (!robotsRemain) {
        StartNextLevel(game);
    }
}

void PlayerDies(CGame& game, int16_t playerX, int16_t playerY, int16_t robotX, int16_t robotY,
                int16_t heapX, int16_t heapY, bool leaveHeap) {
    game.m_busy = true;
    if (robotX >= 0) {
        game.m_host.HighlightKiller(robotX, robotY, kKillerRobot);
    }
    if (heapX >= 0) {
        game.m_host.HighlightKiller(heapX, heapY, kKillerHeap);
    }
    PlayGameSound(game, kSoundPlayerDies);
    game.m_host.AnimatePlayerDeath(playerX, playerY, leaveHeap);
    if (robotX >= 0) {
        game.m_host.RestoreKiller(robotX, robotY, kKillerRobot);
    }
    if (heapX >= 0) {
        game.m_host.RestoreKiller(heapX, heapY, kKillerHeap);
    }
    game.m_busy = false;
    EndGame(game);
}
