// The pictures a board is made of, found as the game finds them: the sprite sets, the grid
// image and the wallpaper of a Graphics folder, or the art generator's own drawing of them.
#pragma once

#include "Image.h"

#include <optional>
#include <string>
#include <vector>

struct BoardArt {
    // One to ten sprite sheets, "GameIcons 1.bmp" onward.
    std::vector<artgen::Image> spriteSets;
    artgen::Image grid{1, 1};
    std::optional<artgen::Image> wallpaper;
};

// The Graphics folder beside the tool at `toolPath`, else the repository's (for a tool built
// from it); empty when neither holds "GameIcons 1.bmp".
std::string FindGraphicsFolder(const std::string& toolPath);
// As the game loads its pictures from `folder`: the first missing sprite sheet ends the list
// (a missing first one, or grid image, is replaced by the built-in picture); no wallpaper file,
// no wallpaper. A file the tool cannot read counts as missing.
BoardArt LoadBoardArt(const std::string& folder);
// The pictures the art generator draws for the Graphics folder.
BoardArt GeneratedBoardArt();
// An uncompressed 24- or 32-bit bitmap file; of `width` x `height` unless they are 0.
std::optional<artgen::Image> ReadBitmapFile(const std::string& path, int width = 0, int height = 0);
