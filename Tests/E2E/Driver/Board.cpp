#include "Board.h"

#include "Framework.h"

#include <fstream>
#include <optional>

namespace {

constexpr uint32_t kKeyColor = Rgb(255, 255, 0);

// Where the icons stand in the sprite image.
constexpr POINT kRobotIcon = {128, 0};
constexpr POINT kPlayerIcon = {144, 0};
constexpr POINT kHeapIcon = {96, 33};
// Heaps are drawn two pixels below their cell's top, so they reach into the cell below.
constexpr int kHeapDrop = 2;

struct Direction {
    const char* name;
    int dx;
    int dy;
};
// In the order of the arrow icons in the sprite image: arrow k is at x = 16k of its top row.
constexpr Direction kArrows[8] = {{"NW", -1, -1}, {"N", 0, -1},  {"NE", 1, -1}, {"W", -1, 0},
                                  {"E", 1, 0},    {"SW", -1, 1}, {"S", 0, 1},   {"SE", 1, 1}};

void DrawIcon(Picture& target, const Picture& sheet, POINT icon, int x, int y) {
    for (int row = 0; row < kCellPixels; ++row) {
        for (int column = 0; column < kCellPixels; ++column) {
            const int tx = x + column;
            const int ty = y + row;
            const uint32_t pixel = sheet.At(icon.x + column, icon.y + row);
            if (pixel != kKeyColor && tx >= 0 && ty >= 0 && tx < target.width &&
                ty < target.height) {
                target.At(tx, ty) = pixel;
            }
        }
    }
}

bool OnBoard(int x, int y) {
    return x >= 0 && y >= 0 && x < kColumns && y < kRows;
}

// What one cell shows by itself: its own content, or an arrow.
struct CellContent {
    std::string name;
    std::optional<POINT> icon;
    int drop = 0;
};

CellContent Background() {
    return {"the background", std::nullopt, 0};
}

CellContent Robot() {
    return {"a robot", kRobotIcon, 0};
}

CellContent Player() {
    return {"the player", kPlayerIcon, 0};
}

CellContent Heap() {
    return {"a scrap heap", kHeapIcon, kHeapDrop};
}

CellContent Arrow(int k) {
    return {Format("the %s arrow", kArrows[k].name), POINT{static_cast<LONG>(kCellPixels * k), 0},
            0};
}

std::optional<int> ArrowAt(const Position& position, int x, int y) {
    if (position.At(x, y) != '.') {
        return std::nullopt;
    }
    for (int k = 0; k < 8; ++k) {
        const int px = x - kArrows[k].dx;
        const int py = y - kArrows[k].dy;
        if (OnBoard(px, py) && position.At(px, py) == 'A') {
            return k;
        }
    }
    return std::nullopt;
}

CellContent ContentOf(const Position& position, int x, int y) {
    switch (position.At(x, y)) {
    case '1':
        return Robot();
    case 'A':
        return Player();
    case 'S':
        return Heap();
    default: {
        const std::optional<int> arrow = ArrowAt(position, x, y);
        return arrow ? Arrow(*arrow) : Background();
    }
    }
}

std::vector<CellContent> AllContents() {
    std::vector<CellContent> all = {Background(), Robot(), Player(), Heap()};
    for (int k = 0; k < 8; ++k) {
        all.push_back(Arrow(k));
    }
    return all;
}

// A cell's 16 x 16 pixels showing `content`, with the bottom of a heap from the cell above.
Picture RenderCell(const Picture& sheet, const CellContent& content, bool heapAbove) {
    Picture cell(kCellPixels, kCellPixels, kBackgroundColor);
    if (heapAbove) {
        DrawIcon(cell, sheet, kHeapIcon, 0, kHeapDrop - kCellPixels);
    }
    if (content.icon) {
        DrawIcon(cell, sheet, *content.icon, 0, content.drop);
    }
    return cell;
}

Picture CutCell(const Picture& picture, int x, int y) {
    Picture cell(kCellPixels, kCellPixels, 0);
    for (int row = 0; row < kCellPixels; ++row) {
        for (int column = 0; column < kCellPixels; ++column) {
            cell.At(column, row) = picture.At(x * kCellPixels + column, y * kCellPixels + row);
        }
    }
    return cell;
}

std::string FirstPixelDifference(const Picture& expected, const Picture& found) {
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (expected.At(x, y) != found.At(x, y)) {
                return Format("pixel (%d, %d) of the cell should be %s and is %s", x, y,
                              DescribeColor(expected.At(x, y)).c_str(),
                              DescribeColor(found.At(x, y)).c_str());
            }
        }
    }
    return {};
}

std::string NameWhatCellShows(const Picture& found, const Picture& sheet, bool heapAbove,
                              const Picture& expected) {
    for (const bool withHeapAbove : {heapAbove, !heapAbove}) {
        for (const CellContent& content : AllContents()) {
            if (RenderCell(sheet, content, withHeapAbove) == found) {
                return content.name + (withHeapAbove ? " under the heap above" : "");
            }
        }
    }
    return "something else (" + FirstPixelDifference(expected, found) + ")";
}

} // namespace

Position LoadPosition(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        Fail("the replay tool's position %s is missing", path.c_str());
    }
    Position position;
    std::string line;
    while (std::getline(in, line) && line != "board:") {
        if (line.rfind("over: ", 0) == 0) {
            position.over = line == "over: yes";
        }
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
    return LoadBitmapPicture(installDir + "\\Graphics\\GameIcons 1.bmp", gamePath, 112, 160, 120);
}

Picture ComposeBoard(const Position& position, const Picture& sheet) {
    Picture board(kBoardWidth, kBoardHeight, kBackgroundColor);
    // The layers of a full redraw: heaps on the background first, then robots, the player and
    // the arrows around the player.
    const auto drawLayer = [&](bool heaps) {
        for (int y = 0; y < kRows; ++y) {
            for (int x = 0; x < kColumns; ++x) {
                const CellContent content = ContentOf(position, x, y);
                if (content.icon && (position.At(x, y) == 'S') == heaps) {
                    DrawIcon(board, sheet, *content.icon, x * kCellPixels,
                             y * kCellPixels + content.drop);
                }
            }
        }
    };
    drawLayer(true);
    drawLayer(false);
    return board;
}

std::string FirstBoardDifference(const Picture& expected, const Picture& found,
                                 const Position& position, const Picture& sheet, CellsFrom from) {
    if (found.width < kBoardWidth || found.height < kBoardHeight) {
        return Format("the client area is %d x %d, too small for the board", found.width,
                      found.height);
    }
    for (int y = from.row; y < kRows; ++y) {
        for (int x = from.column; x < kColumns; ++x) {
            const Picture want = CutCell(expected, x, y);
            const Picture have = CutCell(found, x, y);
            if (want == have) {
                continue;
            }
            const bool heapAbove = y > 0 && position.At(x, y - 1) == 'S';
            return Format("cell (%d, %d) should show %s%s but shows %s", x, y,
                          ContentOf(position, x, y).name.c_str(),
                          heapAbove ? " under the heap above" : "",
                          NameWhatCellShows(have, sheet, heapAbove, want).c_str());
        }
    }
    for (int y = kRows * kCellPixels; y < kBoardHeight; ++y) {
        for (int x = from.column * kCellPixels; x < kBoardWidth; ++x) {
            if (expected.At(x, y) != found.At(x, y)) {
                return Format("pixel (%d, %d) below the last row should be %s and is %s", x, y,
                              DescribeColor(expected.At(x, y)).c_str(),
                              DescribeColor(found.At(x, y)).c_str());
            }
        }
    }
    return {};
}
