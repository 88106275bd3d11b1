#include "HelpArt.h"

#include "BmpWriter.h"
#include "Font.h"
#include "Sprites.h"
#include "Themes.h"

namespace artgen {

namespace {

// Greys become a pattern of black dots (ordered dithering); see-through parts become white.
Image blackAndWhite(const Image& colour) {
    static const int kThresholds[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    Image result(colour.width(), colour.height(), kWhite);
    for (int y = 0; y < colour.height(); ++y) {
        for (int x = 0; x < colour.width(); ++x) {
            const Rgb pixel = colour.isTransparent(x, y) ? kWhite : colour.at(x, y);
            const int lightness = (pixel.r * 30 + pixel.g * 59 + pixel.b * 11) / 100;
            const int threshold = kThresholds[y % 4][x % 4] * 16 + 8;
            result.set(x, y, lightness < threshold ? kBlack : kWhite);
        }
    }
    return result;
}

Image inked(const PixelGrid& grid) {
    return blackAndWhite(inkTheme().main.paint(grid));
}

PixelGrid sparkle() {
    return PixelGrid::fromRows({
        "..k..",
        "..k..",
        "kk.kk",
        "..k..",
        "..k..",
    });
}

// Every other pixel of the picture's outline, as if it were fading away.
PixelGrid ghostOf(const PixelGrid& picture) {
    PixelGrid ghost(picture.width(), picture.height());
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.at(x, y) == 'k' && (x + y) % 2 == 0) {
                ghost.set(x, y, 'k');
            }
        }
    }
    return ghost;
}

PixelGrid screwdriverDrawing() {
    return PixelGrid::fromRows({
        "................",
        "..........kk....",
        ".........kmmk...",
        "........kmmmk...",
        ".......kmmmk....",
        "......kmmmk.....",
        ".....kkmmk......",
        "....klkkk.......",
        "...klk..........",
        "..klk...........",
        ".klk............",
        ".kk.............",
        "................",
    });
}

PixelGrid keyCap() {
    return PixelGrid::fromRows({
        ".kkkkkkkkkkkkkkkkkk.",
        "kllllllllllllllllllk",
        "kllllllllllllllllldk",
        "kllllllllllllllllldk",
        "kllllllllllllllllldk",
        "kllllllllllllllllldk",
        "kllllllllllllllllldk",
        "kllllllllllllllllldk",
        "kllllllllllllllllldk",
        "kllllllllllllllllldk",
        "kllllllllllllllllldk",
        "kllllllllllllllllldk",
        "kllllllllllllllllldk",
        "kllllllllllllllllldk",
        "kllllllllllllllllldk",
        "kdddddddddddddddddk.",
        ".kkkkkkkkkkkkkkkkkk.",
    });
}

} // namespace

Image chasingRobotPicture() {
    return inked(robotSprite()).scaled(2);
}

Image scrapHeapPicture() {
    return inked(scrapHeapSprite()).scaled(2);
}

Image teleportPicture() {
    PixelGrid scene(48, 26);
    scene.draw(ghostOf(playerSprite()), 0, 10);
    scene.draw(playerSprite(), 28, 2);
    scene.draw(sparkle(), 22, 0);
    scene.draw(sparkle(), 43, 8);
    scene.draw(sparkle(), 24, 16);
    return inked(scene);
}

Image screwdriverPicture() {
    return inked(screwdriverDrawing()).scaled(2);
}

Image movesPicture() {
    PixelGrid board(3 * kSpriteSize, 3 * kSpriteSize);
    const Direction around[] = {Direction::NorthWest, Direction::North,    Direction::NorthEast,
                                Direction::West,      Direction::East,     Direction::SouthWest,
                                Direction::South,     Direction::SouthEast};
    int slot = 0;
    for (Direction direction : around) {
        const int square = slot < 4 ? slot : slot + 1; // the middle square is the player's
        board.draw(arrowSprite(direction), square % 3 * kSpriteSize, square / 3 * kSpriteSize);
        ++slot;
    }
    board.draw(playerSprite(), kSpriteSize, kSpriteSize);
    return inked(board);
}

Image keyPicture(char letter) {
    Image key = inked(keyCap());
    const std::string label(1, letter);
    drawBoldText(key, label, (key.width() - boldTextWidth(label)) / 2 - 1, 4, kBlack);
    return key;
}

Image robotCrowdPicture() {
    PixelGrid crowd(44, 30);
    crowd.draw(robotSprite(), 14, 0);
    crowd.draw(robotSprite(), 0, 13);
    crowd.draw(robotSprite(), 28, 13);
    return inked(crowd);
}

} // namespace artgen
