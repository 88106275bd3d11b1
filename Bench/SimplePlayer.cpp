#include "SimplePlayer.h"

namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

} // namespace

bool IsSafe(const CGame& game, int x, int y) {
    if (x < 0 || x >= kGridWidth || y < 0 || y >= kGridHeight) {
        return false;
    }
    const uint8_t cell = game.Cell(x, y);
    if (cell == kCellRobot || cell == kCellHeap) {
        return false;
    }
    for (const Robot* r = game.m_records; r->isAlive != kEndOfList; ++r) {
        if (r->isAlive != kRobotIsDead && r->x + Sign(x - r->x) == x &&
            r->y + Sign(y - r->y) == y) {
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

int CountActions(const std::string& moves) {
    int actions = 0;
    for (char c : moves) {
        actions += (c != '.' && c != ' ') ? 1 : 0;
    }
    return actions;
}
