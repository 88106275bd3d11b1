// The special actions: teleport, screwdriver and the Last Stand.
#include "Game.h"

#include "Random.h"

namespace {

struct Candidate {
    int16_t x;
    int16_t y;
};

Candidate DrawCandidate() {
    Candidate c;
    c.x = static_cast<int16_t>(RandomUpTo(kGridWidth - 1));
    c.y = static_cast<int16_t>(RandomUpTo(kGridHeight - 1));
    return c;
}

int Distance(int a, int b) {
    return a > b ? a - b : b - a;
}

bool HasRobotNeighbour(const CGame& game, Candidate c) {
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            int x = c.x + dx;
            int y = c.y + dy;
            if ((dx != 0 || dy != 0) && x >= 0 && x < kGridWidth && y >= 0 && y < kGridHeight &&
                game.Cell(x, y) == kCellRobot) {
                return true;
            }
        }
    }
    return false;
}

// Rules 1, 2 and 4 test a single cell.
bool IsAcceptableLanding(const CGame& game, int16_t rule, Candidate c) {
    uint8_t cell = game.Cell(c.x, c.y);
    switch (rule) {
    case 1:
        return cell != kCellHeap;
    case 2:
        return cell != kCellRobot;
    default:
        return cell == kCellEmpty;
    }
}

// Looks for a landing cell; false when the tries ran out. Refused candidates cost tries, the
// player's own cell does not.
bool FindTeleportDestination(const CGame& game, Candidate& found) {
    int tries = kTeleportTries;
    for (;;) {
        Candidate c = DrawCandidate();
        const int16_t rule = game.m_prefs.m_teleportRule;
        if (rule == 1 || rule == 2 || rule == 4) {
            while (!IsAcceptableLanding(game, rule, c)) {
                c = DrawCandidate();
                if (--tries == 0) {
                    break;
                }
            }
        } else if (rule == 5) {
            // The first candidate is discarded; each new one costs two tries.
            for (;;) {
                if (--tries <= 0 || --tries == 0) {
                    break;
                }
                c = DrawCandidate();
                if (game.Cell(c.x, c.y) == kCellEmpty && !HasRobotNeighbour(game, c)) {
                    break;
                }
            }
        }
        if (tries <= 0) {
            return false;
        }
        if (c.x != game.m_playerX || c.y != game.m_playerY) {
            found = c;
            return true;
        }
    }
}

bool AnyLiveRobot(const CGame& game) {
    for (const Robot* r = game.m_records; r->isAlive != kEndOfList; ++r) {
        if (r->isAlive != kRobotIsDead) {
            return true;
        }
    }
    return false;
}

bool AnyRobotWithin(const CGame& game, int range) {
    for (const Robot* r = game.m_records; r->isAlive != kEndOfList; ++r) {
        if (r->isAlive != kRobotIsDead && Distance(r->x, game.m_playerX) <= range &&
            Distance(r->y, game.m_playerY) <= range) {
            return true;
        }
    }
    return false;
}

char LastStandLetter(int16_t mode) {
    if (mode == 1) {
        return 'L';
    }
    return mode == -1 ? 'K' : 'J';
}

} // namespace

void Teleport(CGame& game) {
    if (game.m_gameOver) {
        return;
    }
    Candidate destination;
    if (!FindTeleportDestination(game, destination)) {
        game.m_host.RefuseAction();
        return;
    }
    AppendMove(game, 'T');
    TeleportTo(game, destination.x, destination.y, game.m_prefs.m_moveRobotsAfterTeleport != 0);
}

void TeleportTo(CGame& game, int16_t x, int16_t y, bool moveRobots) {
    // The whole teleport counts as under way, its pause included, so that commands arriving
    // meanwhile are swallowed.
    game.m_busy = true;
    game.m_host.HideArrows();
    game.m_host.EraseCell(game.m_playerX, game.m_playerY);
    PlayGameSound(game, kSoundTeleport);
    game.m_host.AnimateTeleport(game.m_playerX, game.m_playerY, x, y);
    game.m_host.SetPlayerCell(x, y);
    game.m_host.RedrawPlayer();
    if (!game.m_restoring) {
        game.m_host.Pause(kTeleportPauseMs);
    }
    const uint8_t landing = game.Cell(x, y);
    if (landing == kCellHeap || landing == kCellRobot) {
        PlayGameSound(game, kSoundPlayerDies);
        game.m_host.AnimatePlayerDeath(x, y, landing == kCellRobot);
        game.m_busy = false;
        EndGame(game);
        return;
    }
    game.Cell(game.m_playerX, game.m_playerY) = kCellEmpty;
    game.Cell(x, y) = kCellPlayer;
    game.m_playerX = x;
    game.m_playerY = y;
    game.m_busy = false;
    if (moveRobots) {
        MoveRobots(game);
    }
    game.m_host.DrawArrows();
}

void UseScrewdriver(CGame& game) {
    if (game.m_gameOver) {
        return;
    }
    if (game.m_screwdrivers <= 0) {
        game.m_host.RefuseAction();
        return;
    }
    game.m_busy = true;
    --game.m_screwdrivers;
    AppendMove(game, 'S');
    game.m_host.DrawStatusLine();
    game.m_host.HideArrows();
    int16_t& radius = game.m_prefs.m_screwdriverRadius;
    if (radius <= 0) {
        radius = 1;
    } else if (radius >= 10) {
        radius = 10;
    }
    uint32_t points = 0;
    int survivors = 0;
    for (Robot* r = game.m_records; r->isAlive != kEndOfList; ++r) {
        if (r->isAlive == kRobotIsDead) {
            continue;
        }
        if (Distance(r->x, game.m_playerX) <= radius && Distance(r->y, game.m_playerY) <= radius) {
            // The screwdriver leaves no heap.
            r->isAlive = kRobotIsDead;
            game.m_host.EraseCell(r->x, r->y);
            game.Cell(r->x, r->y) = kCellEmpty;
            points += static_cast<uint32_t>(game.m_prefs.m_robotKillPoints);
        } else {
            ++survivors;
        }
    }
    PlayGameSound(game, kSoundScrewdriver);
    game.m_host.AnimateScrewdriver(game.m_prefs.m_screwdriverEffect, game.m_playerX, game.m_playerY,
                                   radius);
    game.m_score =
        static_cast<int32_t>(static_cast<uint32_t>(game.m_score) +
                             static_cast<uint32_t>(game.m_prefs.m_screwdriverMultiplier) * points);
    game.m_host.DrawStatusLine();
    game.m_busy = false;
    if (survivors == 0) {
        StartNextLevel(game);
        return;
    }
    if (game.m_prefs.m_moveRobotsAfterScrewdriver != 0) {
        MoveRobots(game);
    }
    game.m_host.DrawArrows();
}

void LastStand(CGame& game, int16_t mode) {
    if (game.m_gameOver) {
        return;
    }
    AppendMove(game, LastStandLetter(mode));
    game.m_host.HideArrows();
    game.m_host.HideCursor();
    game.m_lastStandMode = mode;
    const uint16_t level = game.m_level;
    while (!game.m_gameOver && game.m_level == level) {
        // A board without a live robot would never end the stand: only the screwdriver can
        // clear such a level.
        if (!AnyLiveRobot(game) || (mode < 0 && AnyRobotWithin(game, -mode))) {
            game.m_host.DrawArrows();
            break;
        }
        MoveRobots(game);
    }
    game.m_lastStandMode = 0;
    game.m_host.ShowCursor();
}
