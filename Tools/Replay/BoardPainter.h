// Paints a position as the game's full redraw shows it: background colour, wallpaper and grid,
// heaps, robots, the player and the movement arrows, and a status line under the board, in
// palette indices ready for the GIF.
#pragma once

#include "BoardArt.h"
#include "DisplayScale.h"

#include <cstdint>
#include <vector>

class CGame;
class CPreferences;

// Where the player died: the game leaves the last death frame there, or nothing.
struct DeathMark {
    int x = 0;
    int y = 0;
    bool leavesMark = false;
};

class CBoardPainter {
public:
    // The sprite set, grid style and colour scheme that `prefs` choose among `art`.
    CBoardPainter(const BoardArt& art, const CPreferences& prefs);

    // Every colour the pictures use, 0x00RRGGBB; at most 255.
    const std::vector<uint32_t>& Palette() const { return m_palette; }
    // The position into `picture` (WINDOW_WIDTH x WINDOW_HEIGHT indices, rows from the top);
    // `death`, once the player died.
    void Paint(const CGame& game, const DeathMark* death, std::vector<uint8_t>& picture);

private:
    // A picture in palette indices; kSeeThrough where the key colour was.
    struct Icon {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> pixels;
    };

    uint8_t IndexOf(artgen::Rgb colour);
    Icon Cut(const artgen::Image& image, int left, int top, int width, int height);
    void ComposeBackground(const BoardArt& art, int gridStyle);
    void PaintStatusLine(const CGame& game);
    static void Stamp(const Icon& icon, int left, int top, std::vector<uint8_t>& picture);

    bool m_plainScheme;
    bool m_showArrows;
    std::vector<uint32_t> m_palette;
    std::vector<uint8_t> m_background;
    Icon m_robot;
    Icon m_player;
    Icon m_heap;
    Icon m_deathMark;
    Icon m_arrows[8];
    // The status line of the last values painted, and those values.
    std::vector<uint8_t> m_statusLine;
    long m_statusValues[3] = {-1, -1, -1};
};
