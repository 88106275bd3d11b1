// Checks the files made by clankmere-artgen: that the committed copies in the repository are
// what the generator makes now, the sprite sheet layout the game cuts pictures from, and the
// sound format. (The Windows build compiles the icons and bitmaps into the program, and the
// end-to-end tests compare the sprites and the help picture with the window.)
#include "ArtFiles.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using artgen::Bytes;
using Numbers = std::vector<std::uint32_t>;

// Every file the generator makes, by its path.
const std::map<std::string, Bytes>& generated() {
    static const std::map<std::string, Bytes> files = [] {
        std::map<std::string, Bytes> byPath;
        for (artgen::ArtFile& file : artgen::buildArtFiles()) {
            byPath[file.path] = std::move(file.bytes);
        }
        return byPath;
    }();
    return files;
}

std::uint32_t le16(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}

std::uint32_t le32(const Bytes& bytes, std::size_t at) {
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

constexpr std::uint32_t kYellow = 0xFFFF00; // transparent in a sprite sheet

// A 160 x 120 sprite sheet of 0xRRGGBB pixels, from top to bottom.
using Sheet = std::vector<std::uint32_t>;

// The pixels of a rectangle that are not transparent.
int opaqueIn(const Sheet& sheet, int left, int top, int width, int height) {
    int count = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            count += sheet.at(static_cast<std::size_t>(y * 160 + x)) == kYellow ? 0 : 1;
        }
    }
    return count;
}

// A sprite sheet read the way Windows reads a 24-bit BMP: rows stored bottom-up, blue first.
Sheet decodeSheet(const std::string& path) {
    const Bytes& bytes = generated().at(path);
    // Signature, file size, header size, width, height, bits per pixel, compression.
    EXPECT_EQ((Numbers{le16(bytes, 0), le32(bytes, 2), le32(bytes, 14), le32(bytes, 18),
                       le32(bytes, 22), le16(bytes, 28), le32(bytes, 30)}),
              (Numbers{0x4D42, static_cast<std::uint32_t>(bytes.size()), 40, 160, 120, 24, 0}))
        << path;
    const std::size_t data = le32(bytes, 10);
    EXPECT_EQ(bytes.size(), data + 160 * 120 * 3) << path;
    Sheet sheet;
    for (std::size_t row = 120; row-- > 0;) {
        for (std::size_t at = data + row * 160 * 3; at < data + (row + 1) * 160 * 3; at += 3) {
            sheet.push_back(le16(bytes, at) | bytes.at(at + 2) << 16);
        }
    }
    return sheet;
}

const std::vector<std::string> kSpriteSheets = {
    "Resources/GameIcons.bmp", "Graphics/GameIcons 1.bmp", "Graphics/GameIcons 2.bmp",
    "Graphics/GameIcons 3.bmp"};

const std::vector<std::string> kSounds = {"Sounds/Robot Dies.wav", "Sounds/Intro.wav",
                                          "Sounds/Player Dies.wav", "Sounds/Screwdriver.wav",
                                          "Sounds/Teleport.wav"};

// The copies in the repository are what the build and the installer ship. If this fails, run
// clankmere-artgen with the repository root and commit the result.
TEST(ArtGenFiles, CommittedFilesAreWhatTheGeneratorMakes) {
    std::set<std::string> expected(kSpriteSheets.begin(), kSpriteSheets.end());
    expected.insert(kSounds.begin(), kSounds.end());
    expected.insert({"Resources/GridIcons.bmp", "Graphics/GridIcons.bmp", "Graphics/Wallpaper.bmp",
                     "Resources/Robot.ico", "Resources/Robot9x.ico", "Resources/RobotSmall9x.ico",
                     "Resources/Help.bmp"});
    EXPECT_EQ(generated().size(), expected.size()) << "every file the game loads, and no other";
    // Writing builds every file a second time, which must give the same bytes.
    const CTempDir out;
    artgen::writeArtFiles(out.Path(""));
    for (const auto& [name, bytes] : generated()) {
        EXPECT_EQ(expected.count(name), 1u) << name << " is not a file the game loads";
        const std::string written = ReadFile(out.Path(name));
        EXPECT_TRUE(written == std::string(bytes.begin(), bytes.end()))
            << name << " changes from run to run";
        EXPECT_TRUE(ReadFile(CLANKMERE_REPO_ROOT "/" + name) == written)
            << name << " is missing or out of date in the repository";
    }
}

TEST(SpriteSheet, EverySetHasThePicturesWhereTheGameCutsThem) {
    EXPECT_EQ(generated().at("Resources/GameIcons.bmp"), generated().at("Graphics/GameIcons 1.bmp"))
        << "the first installed set is the built-in one";
    // Left, top, width and height of every picture the game cuts out.
    std::vector<std::vector<int>> pictures;
    for (int left = 0; left < 160; left += 16) {
        pictures.insert(pictures.end(), {{left, 0, 16, 16}, {left, 16, 16, 16}});
        for (int band : {32, 52}) {
            pictures.push_back(left < 112 ? std::vector{left, band, 16, 20}
                                          : std::vector{left, band - 1, 16, 16});
        }
        if (left < 128) {
            pictures.insert(pictures.end(), {{left, 72, 16, 20}, {left, 92, 16, 20}});
        }
    }
    for (const std::string& path : kSpriteSheets) {
        const Sheet sheet = decodeSheet(path);
        Sheet outside = sheet;
        for (const auto& p : pictures) {
            EXPECT_GT(opaqueIn(sheet, p[0], p[1], p[2], p[3]), 12)
                << path << " at " << p[0] << "," << p[1];
            for (int y = p[1]; y < p[1] + p[3]; ++y) {
                std::fill_n(outside.begin() + y * 160 + p[0], p[2], kYellow);
            }
        }
        EXPECT_EQ(opaqueIn(outside, 0, 0, 160, 120), 0) << path << ": paint outside the pictures";
        // The last explosion frame is also cut out one row down as the 16 x 16 scrap heap, so
        // the heap must fit in that window.
        for (int band : {32, 52}) {
            EXPECT_EQ(opaqueIn(sheet, 96, band, 16, 20), opaqueIn(sheet, 96, band + 1, 16, 16))
                << path;
            EXPECT_GT(opaqueIn(sheet, 96, band + 1, 16, 16), 40) << path;
        }
        // An explosion erases the dying robot's cell from one row below its top: a robot drawn
        // in its top row would leave that row standing above the new heap.
        EXPECT_EQ(opaqueIn(sheet, 128, 0, 16, 1) + opaqueIn(sheet, 128, 16, 16, 1), 0) << path;
    }
}

TEST(Sounds, AreSixteenBitMonoPcmEachOfItsOwn) {
    std::set<Bytes> distinct;
    for (const std::string& path : kSounds) {
        const Bytes& wav = generated().at(path);
        distinct.insert(wav);
        const auto size = static_cast<std::uint32_t>(wav.size());
        const auto tag = [&](std::size_t at) {
            return std::string(wav.begin() + at, wav.begin() + at + 4);
        };
        EXPECT_EQ(tag(0) + tag(8) + tag(12) + tag(36), "RIFFWAVEfmt data") << path;
        // RIFF size, format size, PCM, mono, 22050 Hz, bytes a second, block, bits, data size
        EXPECT_EQ((Numbers{le32(wav, 4), le32(wav, 16), le16(wav, 20), le16(wav, 22), le32(wav, 24),
                           le32(wav, 28), le16(wav, 32), le16(wav, 34), le32(wav, 40)}),
                  (Numbers{size - 8, 16, 1, 1, 22050, 44100, 2, 16, size - 44}))
            << path;
    }
    EXPECT_EQ(distinct.size(), kSounds.size());
}

} // namespace
