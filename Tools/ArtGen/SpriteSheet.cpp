#include "SpriteSheet.h"

#include "Effects.h"
#include "Sprites.h"

#include <stdexcept>
#include <vector>

namespace artgen {

namespace {

constexpr int kPiecesTop = 0;
constexpr int kExplosionsTop = 32;
constexpr int kDeathsTop = 72;
constexpr int kPiecesBandHeight = 16;
constexpr int kTallBandHeight = 20;
// The smoldering heaps sit one pixel higher than the explosion band they belong to.
constexpr int kSmolderRaise = 1;
constexpr int kFirstSmolderCell = 7;
constexpr int kRobotCell = 8;
constexpr int kPlayerCell = 9;

struct Placement {
    Image picture;
    int left;
    int top;
};

std::vector<Placement> piecesBand(const Palette& palette, int top) {
    std::vector<Placement> band;
    for (int cell = 0; cell < 8; ++cell) {
        const auto direction = static_cast<Direction>(cell);
        band.push_back({palette.paint(arrowSprite(direction)), cell * kSpriteSize, top});
    }
    band.push_back({palette.paint(robotSprite()), kRobotCell * kSpriteSize, top});
    band.push_back({palette.paint(playerSprite()), kPlayerCell * kSpriteSize, top});
    return band;
}

std::vector<Placement> explosionBand(const Palette& palette, int top) {
    std::vector<Placement> band;
    int cell = 0;
    for (const PixelGrid& frame : explosionFrames()) {
        band.push_back({palette.paint(frame), cell++ * kFrameWidth, top});
    }
    cell = kFirstSmolderCell;
    for (const PixelGrid& frame : smolderFrames()) {
        band.push_back({palette.paint(frame), cell++ * kFrameWidth, top - kSmolderRaise});
    }
    return band;
}

std::vector<Placement> deathBand(const Palette& palette, int top) {
    std::vector<Placement> band;
    int cell = 0;
    for (const PixelGrid& frame : playerDeathFrames()) {
        band.push_back({palette.paint(frame), cell++ * kFrameWidth, top});
    }
    return band;
}

std::vector<Placement> allPlacements(const SpriteTheme& theme) {
    std::vector<Placement> all;
    const auto add = [&all](std::vector<Placement> band) {
        all.insert(all.end(), band.begin(), band.end());
    };
    add(piecesBand(theme.main, kPiecesTop));
    add(piecesBand(theme.variant, kPiecesTop + kPiecesBandHeight));
    add(explosionBand(theme.main, kExplosionsTop));
    add(explosionBand(theme.variant, kExplosionsTop + kTallBandHeight));
    add(deathBand(theme.main, kDeathsTop));
    add(deathBand(theme.variant, kDeathsTop + kTallBandHeight));
    return all;
}

// Some rectangles share a row with a neighbour band, so make sure no picture spilled into
// another: cutting each rectangle out of the sheet must give back exactly its picture.
void checkEachPictureCutsOutCleanly(const Image& sheet, const std::vector<Placement>& placements) {
    for (const Placement& placement : placements) {
        const Image& picture = placement.picture;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (sheet.at(placement.left + x, placement.top + y) != picture.at(x, y)) {
                    throw std::logic_error("sprite sheet pictures overlap");
                }
            }
        }
    }
}

} // namespace

Image spriteSheet(const SpriteTheme& theme) {
    Image sheet(kSheetWidth, kSheetHeight);
    const std::vector<Placement> placements = allPlacements(theme);
    for (const Placement& placement : placements) {
        sheet.draw(placement.picture, placement.left, placement.top);
    }
    checkEachPictureCutsOutCleanly(sheet, placements);
    return sheet;
}

} // namespace artgen
