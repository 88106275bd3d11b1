#include "Automation.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>

namespace {

// Where the icons stand in the sprite image.
constexpr POINT kRobotIcon = {128, 0};
constexpr POINT kPlayerIcon = {144, 0};
constexpr POINT kHeapIcon = {96, 33};
// Heaps are drawn two pixels below their cell's top, so they reach into the cell below.
constexpr int kHeapDrop = 2;

// In the order of the arrow icons in the sprite image: arrow k is at x = 16k of its top row.
constexpr struct {
    const char* name;
    int dx;
    int dy;
} kArrows[8] = {{"the NW arrow", -1, -1}, {"the N arrow", 0, -1}, {"the NE arrow", 1, -1},
                {"the W arrow", -1, 0},   {"the E arrow", 1, 0},  {"the SW arrow", -1, 1},
                {"the S arrow", 0, 1},    {"the SE arrow", 1, 1}};

// What one cell shows by itself: its own content, or an arrow.
struct CellContent {
    const char* name;
    std::optional<POINT> icon;
    int drop;
};

CellContent ContentOf(const Position& position, int x, int y) {
    switch (position.At(x, y)) {
    case '1':
        return {"a robot", kRobotIcon, 0};
    case 'A':
        return {"the player", kPlayerIcon, 0};
    case 'S':
        return {"a scrap heap", kHeapIcon, kHeapDrop};
    }
    for (int k = 0; k < 8; ++k) {
        const int px = x - kArrows[k].dx;
        const int py = y - kArrows[k].dy;
        const char move = static_cast<char>('5' + kArrows[k].dx - 3 * kArrows[k].dy);
        if (OnBoard(px, py) && position.At(px, py) == 'A' &&
            position.arrows.find(move) != std::string::npos) {
            return {kArrows[k].name, POINT{static_cast<LONG>(kCellPixels * k), 0}, 0};
        }
    }
    return {"the background", std::nullopt, 0};
}

} // namespace

Position LoadPosition(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        Fail("the replay tool's position %s is missing", path.c_str());
    }
    Position position;
    std::string line;
    // The lines before the board say the score, the level, the screwdrivers left and the like.
    while (std::getline(in, line) && line != "board:") {
        std::sscanf(line.c_str(), "score: %ld", &position.score);
        std::sscanf(line.c_str(), "level: %ld", &position.level);
        std::sscanf(line.c_str(), "screwdrivers: %ld", &position.screwdrivers);
    }
    for (int y = 0; y < kRows; ++y) {
        if (!std::getline(in, line) || line.size() != size_t(kColumns) ||
            line.find_first_not_of(".1AS") != std::string::npos) {
            Fail("%s: row %d of the board is \"%s\"", path.c_str(), y, line.c_str());
        }
        line.copy(position.cells[y], kColumns);
    }
    return position;
}

Picture LoadSpriteSheet(const std::string& installDir, const std::string& gamePath) {
    return LoadBitmapPicture(installDir + "\\Graphics\\GameIcons 1.bmp", gamePath, IDB_GAME_ICONS,
                             160, 120);
}

Picture InstalledArt(const Installation& installation, const char* file, int resource) {
    return LoadBitmapPicture(installation.installDir + "\\Graphics\\" + file, installation.gamePath,
                             resource, 0, 0);
}

namespace {

constexpr uint32_t kKeyColor = Rgb(255, 255, 0);

Picture ComposeBackdrop(const Backdrop& backdrop) {
    Picture board(kBoardWidth, kBoardHeight, backdrop.fill);
    if (const Picture* tile = backdrop.wallpaper) {
        for (int y = 0; y < kBoardHeight; ++y) {
            for (int x = 0; x < kBoardWidth; ++x) {
                board.At(x, y) = tile->At(x % tile->width, y % tile->height);
            }
        }
    }
    if (!backdrop.grid || backdrop.gridStyle == 0) {
        return board;
    }
    const int iconLeft = (backdrop.gridStyle - 1) * kCellPixels;
    for (int y = 0; y < kRows * kCellPixels; ++y) {
        for (int x = 0; x < kBoardWidth; ++x) {
            const uint32_t pixel = backdrop.grid->At(iconLeft + x % kCellPixels, y % kCellPixels);
            const bool trimmed = y == 0 || x == kBoardWidth - 1;
            if (pixel != kKeyColor && !trimmed) {
                board.At(x, y) = pixel;
            }
        }
    }
    return board;
}

} // namespace

Picture ComposeBoard(const Position& position, const Picture& sheet, const Backdrop& backdrop) {
    Picture board = ComposeBackdrop(backdrop);
    // The layers of a full redraw: heaps on the background first, then robots, the player and
    // the arrows around the player.
    const auto drawLayer = [&](bool heaps) {
        for (int y = 0; y < kRows; ++y) {
            for (int x = 0; x < kColumns; ++x) {
                const CellContent content = ContentOf(position, x, y);
                if (content.icon && (position.At(x, y) == 'S') == heaps) {
                    DrawSprite(board, sheet, {*content.icon, kCellPixels}, x * kCellPixels,
                               y * kCellPixels + content.drop);
                }
            }
        }
    };
    drawLayer(true);
    drawLayer(false);
    return board;
}

std::string StatusLineOf(const Position& position) {
    return Format("left Score: %ld / right Screwdrivers: %ld / centre Level: %ld", position.score,
                  position.screwdrivers, position.level);
}

std::string FirstBoardDifference(const Picture& expected, const Picture& found,
                                 const Position* position, CellsFrom from) {
    if (found.width < kBoardWidth || found.height < kBoardHeight) {
        return Format("the client area is %d x %d, too small for the board", found.width,
                      found.height);
    }
    for (int y = from.row * kCellPixels; y < kBoardHeight; ++y) {
        for (int x = from.column * kCellPixels; x < kBoardWidth; ++x) {
            if (expected.At(x, y) == found.At(x, y)) {
                continue;
            }
            const int column = x / kCellPixels;
            const int row = y / kCellPixels;
            std::string content;
            if (position && row < kRows) {
                const bool heapAbove = row > 0 && position->At(column, row - 1) == 'S';
                content = Format(" (%s%s)", ContentOf(*position, column, row).name,
                                 heapAbove ? " under the heap above" : "");
            }
            return Format("pixel (%d, %d) of cell (%d, %d)%s should be %s and is %s",
                          x % kCellPixels, y % kCellPixels, column, row, content.c_str(),
                          DescribeColor(expected.At(x, y)).c_str(),
                          DescribeColor(found.At(x, y)).c_str());
        }
    }
    return {};
}

void DrawSprite(Picture& target, const Picture& sheet, const Sprite& sprite, int x, int y) {
    for (int row = 0; row < sprite.height; ++row) {
        for (int column = 0; column < kCellPixels; ++column) {
            const int tx = x + column;
            const int ty = y + row;
            const uint32_t pixel = sheet.At(sprite.at.x + column, sprite.at.y + row);
            if (pixel != kKeyColor && tx >= 0 && ty >= 0 && tx < target.width &&
                ty < target.height) {
                target.At(tx, ty) = pixel;
            }
        }
    }
}

std::vector<POINT> CellsWhere(const std::function<bool(POINT)>& keep) {
    std::vector<POINT> found;
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            if (keep(POINT{x, y})) {
                found.push_back({x, y});
            }
        }
    }
    return found;
}

std::vector<POINT> ArrowCells(const Position& position) {
    const POINT player = PlayerCell(position);
    return CellsWhere([&](POINT c) {
        return std::abs(c.x - player.x) <= 1 && std::abs(c.y - player.y) <= 1 &&
               position.At(c.x, c.y) == '.';
    });
}

POINT PlayerCell(const Position& position) {
    const std::vector<POINT> player =
        CellsWhere([&](POINT c) { return position.At(c.x, c.y) == 'A'; });
    if (player.empty()) {
        Fail("the position has no player");
    }
    return player.front();
}

POINT StepTarget(POINT cell, char move) {
    const int index = move - '1';
    return {cell.x + index % 3 - 1, cell.y + 1 - index / 3};
}
