#include "Automation.h"

namespace {

// The canvas holds only the heaps of a position: a position without robots and player, whose
// full redraw therefore draws no arrows either.
Position HeapsOnly(const Position& position) {
    Position heaps = position;
    for (auto& row : heaps.cells) {
        for (int x = 0; x < kColumns; ++x) {
            if (row[x] != 'S') {
                row[x] = '.';
            }
        }
    }
    return heaps;
}

} // namespace

Scene::Scene(const Position& position, const Picture& sheet)
    : m_sheet(sheet), m_canvas(ComposeBoard(HeapsOnly(position), sheet)),
      m_back(ComposeBoard(position, sheet)) {}

RECT Scene::CellArea(int x, int y, int height) {
    return {x * kCellPixels, y * kCellPixels, x * kCellPixels + kCellPixels,
            y * kCellPixels + height};
}

void Scene::Erase(const RECT& rect) {
    for (LONG y = rect.top; y < rect.bottom && y < m_back.height; ++y) {
        for (LONG x = rect.left; x < rect.right && x < m_back.width; ++x) {
            m_back.At(x, y) = m_canvas.At(x, y);
        }
    }
}

void Scene::EraseArrows(const Position& position) {
    for (const POINT cell : ArrowCells(position)) {
        EraseCell(cell.x, cell.y);
    }
}

void Scene::Draw(const Sprite& sprite, int x, int y) {
    DrawSprite(m_back, m_sheet, sprite, x * kCellPixels, y * kCellPixels);
}

std::vector<POINT> ArrowCells(const Position& position) {
    const POINT player = PlayerCell(position);
    std::vector<POINT> cells;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int x = player.x + dx;
            const int y = player.y + dy;
            if ((dx != 0 || dy != 0) && OnBoard(x, y) && position.At(x, y) == '.') {
                cells.push_back({x, y});
            }
        }
    }
    return cells;
}

POINT PlayerCell(const Position& position) {
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            if (position.At(x, y) == 'A') {
                return {x, y};
            }
        }
    }
    Fail("the position has no player");
}

POINT StepTarget(POINT cell, char move) {
    const int index = move - '1';
    return {cell.x + index % 3 - 1, cell.y + 1 - index / 3};
}

POINT CellOnScreen(HWND window, POINT cell) {
    POINT point = {cell.x * kCellPixels + kCellPixels / 2, cell.y * kCellPixels + kCellPixels / 2};
    ClientToScreen(window, &point);
    return point;
}
