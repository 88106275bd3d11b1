// The game's two drawing layers rebuilt in the driver: the canvas (background and heaps) and
// the back buffer, as a full redraw of a position leaves them, then changed by the same steps
// the game's drawing takes. It gives the expected picture after scenes that leave the board
// unlike any full redraw, such as a death.
#pragma once

#include "Board.h"

#include <string>
#include <vector>

// An icon of the sprite image: its top-left corner and its height (every icon is 16 wide).
struct Sprite {
    POINT at;
    int height;
};

constexpr Sprite kRobotSprite = {{128, 0}, kCellPixels};
// Explosion and death frames are 20 pixels high and hang below the cell.
constexpr int kFrameHeight = 20;
constexpr Sprite ExplosionFrame(int k) {
    return {{kCellPixels * k, 32}, kFrameHeight};
}
constexpr Sprite DeathFrame(int k) {
    return {{kCellPixels * k, 72}, kFrameHeight};
}
constexpr int kLastDeathFrame = 7;

class Scene {
public:
    Scene(const Position& position, const Picture& sheet);

    // Copies the rectangle from the canvas onto the back buffer.
    void Erase(const RECT& rect);
    void EraseCell(int x, int y) { Erase(CellArea(x, y, kCellPixels)); }
    // Erases the cells of the movement arrows around the player of the position.
    void EraseArrows(const Position& position);
    // Draws the icon with its top-left corner at the cell's top-left corner.
    void Draw(const Sprite& sprite, int x, int y);

    const Picture& BackBuffer() const { return m_back; }
    static RECT CellArea(int x, int y, int height);

private:
    const Picture& m_sheet;
    Picture m_canvas;
    Picture m_back;
};

// The cells around the player of `position` that show an arrow: those on the board that are
// empty.
std::vector<POINT> ArrowCells(const Position& position);
POINT PlayerCell(const Position& position);
