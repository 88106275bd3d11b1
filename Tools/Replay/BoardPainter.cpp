#include "BoardPainter.h"

#include "Font.h"
#include "Game.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr uint8_t kSeeThrough = 255;
constexpr size_t kMaxColours = 255;
constexpr int kStatusHeight = WINDOW_HEIGHT - kStatusStripTop;
constexpr int kStatusMargin = 10;
constexpr int kGridIcon = 16;
constexpr int kPlainSet = 1;
constexpr artgen::Rgb kBackgroundColour{220, 255, 220};
constexpr artgen::Rgb kPlainColour{255, 255, 255};
constexpr artgen::Rgb kInk{0, 0, 0};

struct Step {
    int dx, dy;
};
// The arrows' order in the sprite sheet: NW, N, NE, W, E, SW, S, SE.
constexpr Step kArrowSteps[8] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                 {1, 0},   {-1, 1}, {0, 1},  {1, 1}};

uint32_t Packed(artgen::Rgb c) {
    return static_cast<uint32_t>(c.r) << 16 | static_cast<uint32_t>(c.g) << 8 | c.b;
}

int Distance(uint32_t a, artgen::Rgb b) {
    const int dr = static_cast<int>(a >> 16 & 0xFF) - b.r;
    const int dg = static_cast<int>(a >> 8 & 0xFF) - b.g;
    const int db = static_cast<int>(a & 0xFF) - b.b;
    return dr * dr + dg * dg + db * db;
}

} // namespace

CBoardPainter::CBoardPainter(const BoardArt& art, const CPreferences& prefs)
    : m_showArrows(prefs.m_showMovementArrows != 0),
      m_statusLine(static_cast<size_t>(WINDOW_WIDTH) * kStatusHeight) {
    const int sets = static_cast<int>(art.spriteSets.size());
    const int set = prefs.m_iconSet >= 0 && prefs.m_iconSet < sets ? prefs.m_iconSet : 0;
    m_plainScheme = set == kPlainSet;
    const artgen::Image& sheet = art.spriteSets[static_cast<size_t>(set)];
    ComposeBackground(art, prefs.m_gridStyle);
    m_robot = Cut(sheet, 128, 0, 16, 16);
    m_player = Cut(sheet, 144, 0, 16, 16);
    m_heap = Cut(sheet, 96, 33, 16, 16);
    m_deathMark = Cut(sheet, 7 * 16, 72, 16, 20);
    for (int k = 0; k < 8; ++k) {
        m_arrows[k] = Cut(sheet, 16 * k, 0, 16, 16);
    }
    IndexOf(kInk);
}

// Colours past the palette's room take the nearest one it holds.
uint8_t CBoardPainter::IndexOf(artgen::Rgb colour) {
    const uint32_t packed = Packed(colour);
    const auto found = std::find(m_palette.begin(), m_palette.end(), packed);
    if (found != m_palette.end()) {
        return static_cast<uint8_t>(found - m_palette.begin());
    }
    if (m_palette.size() < kMaxColours) {
        m_palette.push_back(packed);
        return static_cast<uint8_t>(m_palette.size() - 1);
    }
    size_t nearest = 0;
    for (size_t i = 1; i < m_palette.size(); ++i) {
        if (Distance(m_palette[i], colour) < Distance(m_palette[nearest], colour)) {
            nearest = i;
        }
    }
    return static_cast<uint8_t>(nearest);
}

CBoardPainter::Icon CBoardPainter::Cut(const artgen::Image& image, int left, int top, int width,
                                       int height) {
    Icon icon{width, height, {}};
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            icon.pixels.push_back(image.isTransparent(x, y) ? kSeeThrough
                                                            : IndexOf(image.at(x, y)));
        }
    }
    return icon;
}

void CBoardPainter::Stamp(const Icon& icon, int left, int top, std::vector<uint8_t>& picture) {
    const uint8_t* from = icon.pixels.data();
    for (int y = top; y < top + icon.height; ++y) {
        uint8_t* to = picture.data() + static_cast<size_t>(y) * WINDOW_WIDTH + left;
        for (int x = 0; x < icon.width; ++x, ++from) {
            if (*from != kSeeThrough) {
                to[x] = *from;
            }
        }
    }
}

// The canvas of the game: the scheme's colour, the wallpaper tiled over the board (not in the
// plain scheme), and the grid icon on every cell but along the board's top and right edges.
void CBoardPainter::ComposeBackground(const BoardArt& art, int gridStyle) {
    m_background.assign(static_cast<size_t>(WINDOW_WIDTH) * WINDOW_HEIGHT,
                        IndexOf(m_plainScheme ? kPlainColour : kBackgroundColour));
    if (art.wallpaper && !m_plainScheme) {
        const artgen::Image& tile = *art.wallpaper;
        for (int y = 0; y < kStatusStripTop; ++y) {
            for (int x = 0; x < WINDOW_WIDTH; ++x) {
                m_background[static_cast<size_t>(y) * WINDOW_WIDTH + x] =
                    IndexOf(tile.at(x % tile.width(), y % tile.height()));
            }
        }
    }
    if (gridStyle < 1 || gridStyle > art.grid.width() / kGridIcon) {
        return;
    }
    const Icon icon = Cut(art.grid, (gridStyle - 1) * kGridIcon, 0, kGridIcon, kGridIcon);
    for (int top = 0; top < kStatusStripTop - 4; top += kCellPixels) {
        for (int left = 0; left < WINDOW_WIDTH; left += kCellPixels) {
            for (int y = top == 0 ? 1 : 0; y < kGridIcon; ++y) {
                for (int x = 0; x < (left == WINDOW_WIDTH - kCellPixels ? 15 : 16); ++x) {
                    const uint8_t index = icon.pixels[static_cast<size_t>(y) * kGridIcon + x];
                    if (index != kSeeThrough) {
                        m_background[static_cast<size_t>(top + y) * WINDOW_WIDTH + left + x] =
                            index;
                    }
                }
            }
        }
    }
}

// The game writes these with a proportional system font; the picture uses the art's own small
// font in the same places: score on the left, level centred, screwdrivers on the right.
void CBoardPainter::PaintStatusLine(const CGame& game) {
    const long values[3] = {game.m_score, game.m_level, game.m_screwdrivers};
    if (std::equal(values, values + 3, m_statusValues)) {
        return;
    }
    std::copy(values, values + 3, m_statusValues);
    artgen::Image strip(WINDOW_WIDTH, kStatusHeight,
                        m_plainScheme ? kPlainColour : kBackgroundColour);
    for (int x = 0; x < WINDOW_WIDTH; ++x) {
        strip.set(x, 0, kInk);
    }
    char score[32];
    char level[32];
    char screwdrivers[32];
    std::snprintf(score, sizeof score, "Score: %ld", values[0]);
    std::snprintf(level, sizeof level, "Level: %ld", values[1]);
    std::snprintf(screwdrivers, sizeof screwdrivers, "Screwdrivers: %ld", values[2]);
    const int top = (kStatusHeight - 7) / 2;
    artgen::drawText(strip, score, kStatusMargin, top, kInk);
    artgen::drawText(strip, level, (WINDOW_WIDTH - artgen::textWidth(level)) / 2, top, kInk);
    artgen::drawText(strip, screwdrivers,
                     WINDOW_WIDTH - kStatusMargin - artgen::textWidth(screwdrivers), top, kInk);
    for (int y = 0; y < kStatusHeight; ++y) {
        for (int x = 0; x < WINDOW_WIDTH; ++x) {
            m_statusLine[static_cast<size_t>(y) * WINDOW_WIDTH + x] = IndexOf(strip.at(x, y));
        }
    }
}

void CBoardPainter::Paint(const CGame& game, const DeathMark* death,
                          std::vector<uint8_t>& picture) {
    picture = m_background;
    for (int x = 0; x < kGridWidth; ++x) {
        for (int y = 0; y < kGridHeight; ++y) {
            if (game.Cell(x, y) == kCellHeap) {
                Stamp(m_heap, x * kCellPixels, y * kCellPixels + 2, picture);
            }
        }
    }
    for (const Robot* r = game.m_records; r->isAlive != kEndOfList; ++r) {
        if (r->isAlive != kRobotIsDead) {
            Stamp(m_robot, r->x * kCellPixels, r->y * kCellPixels, picture);
        }
    }
    if (death) {
        if (death->leavesMark) {
            Stamp(m_deathMark, death->x * kCellPixels, death->y * kCellPixels, picture);
        }
    } else {
        Stamp(m_player, game.m_playerX * kCellPixels, game.m_playerY * kCellPixels, picture);
        for (int k = 0; k < 8 && m_showArrows; ++k) {
            const int x = game.m_playerX + kArrowSteps[k].dx;
            const int y = game.m_playerY + kArrowSteps[k].dy;
            if (x >= 0 && x < kGridWidth && y >= 0 && y < kGridHeight &&
                game.Cell(x, y) == kCellEmpty) {
                Stamp(m_arrows[k], x * kCellPixels, y * kCellPixels, picture);
            }
        }
    }
    PaintStatusLine(game);
    std::copy(m_statusLine.begin(), m_statusLine.end(),
              picture.begin() + static_cast<std::ptrdiff_t>(kStatusStripTop) * WINDOW_WIDTH);
}
