// The board as the replay tool prints it, and as it must look in the window: every cell drawn
// from the sprite sheet over the plain background colour, the way a full redraw composes it.
#pragma once

#include "Picture.h"

#include <string>

constexpr int kColumns = 31;
constexpr int kRows = 18;
constexpr int kCellPixels = 16;
constexpr int kBoardWidth = kColumns * kCellPixels;
// The board area is four pixel rows taller than its cells: animation frames hang below them.
constexpr int kBoardHeight = kRows * kCellPixels + 4;
constexpr int kClientWidth = 496;
constexpr int kClientHeight = 322;
constexpr uint32_t kBackgroundColor = Rgb(220, 255, 220);

// What the replay tool prints after a game record's moves: whether the game is over, and the
// board, a line per row: '.' empty, '1' robot, 'A' the player, 'S' a scrap heap.
struct Position {
    bool over = false;
    char cells[kRows][kColumns + 1] = {};

    char At(int x, int y) const { return cells[y][x]; }
};

Position LoadPosition(const std::string& path);

constexpr bool OnBoard(int x, int y) {
    return x >= 0 && y >= 0 && x < kColumns && y < kRows;
}

// The sprite image of the first icon set: the installed "Graphics\GameIcons 1.bmp", or the
// bitmap built into the game when that file is missing.
Picture LoadSpriteSheet(const std::string& installDir, const std::string& gamePath);

// The board area (kBoardWidth x kBoardHeight) after a full redraw of `position` with movement
// arrows, no grid and no wallpaper.
Picture ComposeBoard(const Position& position, const Picture& sheet);

// The cells a comparison looks at: those from a first column and a first row on.
struct CellsFrom {
    int column = 0;
    int row = 0;
};

// Compares the board area of a captured client area with an expected one from the cells `from`
// on; empty when they are the same, else the first pixel that differs, with its cell and, when
// `position` is given, what that cell should show.
std::string FirstBoardDifference(const Picture& expected, const Picture& found,
                                 const Position* position = nullptr, CellsFrom from = {});
