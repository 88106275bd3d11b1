#include "ArtFiles.h"

#include "BmpWriter.h"
#include "GridIcons.h"
#include "HelpPicture.h"
#include "IcoWriter.h"
#include "RobotIcon.h"
#include "Sounds.h"
#include "SpriteSheet.h"
#include "Wallpaper.h"
#include "WavWriter.h"

#include <fstream>
#include <stdexcept>

namespace artgen {

std::vector<ArtFile> buildArtFiles() {
    const Bytes classicSheet = encodeBmp24(spriteSheet(classicTheme()));
    const Bytes grid = encodeBmp24(gridIcons());
    return {
        {"Resources/GridIcons.bmp", grid},
        {"Graphics/GridIcons.bmp", grid},
        {"Graphics/Wallpaper.bmp", encodeBmp24(wallpaper())},
        // The standard build's icon for every size the system asks; the 9x build's two.
        {"Resources/Robot.ico",
         encodeIco({robotIcon(16), robotIcon(32), robotIcon(48), robotIcon(256)})},
        {"Resources/Robot9x.ico", encodeIco({robotIcon(16), robotIcon(32)})},
        {"Resources/RobotSmall9x.ico", encodeIco({robotIcon(16)})},
        {"Resources/Help.bmp", encodeBmp1(helpPicture())},
        {"Sounds/Robot Dies.wav", encodeWav(robotDiesSound(), kSampleRate)},
        {"Sounds/Intro.wav", encodeWav(introSound(), kSampleRate)},
        {"Sounds/Player Dies.wav", encodeWav(playerDiesSound(), kSampleRate)},
        {"Sounds/Screwdriver.wav", encodeWav(screwdriverSound(), kSampleRate)},
        {"Sounds/Teleport.wav", encodeWav(teleportSound(), kSampleRate)},
        {"Resources/GameIcons.bmp", classicSheet},
        {"Graphics/GameIcons 1.bmp", classicSheet},
        {"Graphics/GameIcons 2.bmp", encodeBmp24(spriteSheet(inkTheme()))},
        {"Graphics/GameIcons 3.bmp", encodeBmp24(spriteSheet(brightTheme()))},
    };
}

namespace {

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("could not write " + path.string());
    }
}

} // namespace

void writeArtFiles(const std::filesystem::path& root) {
    for (const ArtFile& file : buildArtFiles()) {
        writeFile(root / std::filesystem::u8path(file.path), file.bytes);
    }
}

} // namespace artgen
