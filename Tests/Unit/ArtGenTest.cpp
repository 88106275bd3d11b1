// Checks the files made by clankmere-artgen: the formats the game and the resource compiler
// read, the sprite sheet layout the game cuts pictures from, and that the committed copies in the
// repository are what the generator makes now.

#include "ArtFiles.h"
#include "Font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using artgen::ArtFile;
using artgen::Bytes;

const std::map<std::string, Bytes>& generatedFiles() {
    static const std::map<std::string, Bytes> files = [] {
        std::map<std::string, Bytes> byPath;
        for (const ArtFile& file : artgen::buildArtFiles()) {
            byPath[file.path] = file.bytes;
        }
        return byPath;
    }();
    return files;
}

const Bytes& generated(const std::string& path) {
    const auto found = generatedFiles().find(path);
    if (found == generatedFiles().end()) {
        ADD_FAILURE() << "the generator makes no " << path;
        static const Bytes none;
        return none;
    }
    return found->second;
}

std::uint32_t le16(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}

std::uint32_t le32(const Bytes& bytes, std::size_t at) {
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

std::int32_t signed32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::int32_t>(le32(bytes, at));
}

std::string tagAt(const Bytes& bytes, std::size_t at) {
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

struct Colour {
    int r;
    int g;
    int b;
    bool operator==(const Colour& other) const {
        return r == other.r && g == other.g && b == other.b;
    }
};

const Colour kYellow{255, 255, 0};

// A decoded BMP, read the way Windows reads it: rows bottom-up for a positive height, each row
// padded to four bytes, 1-bit pixels looked up in the palette.
struct Bitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<Colour> pixels;

    Colour at(int x, int y) const { return pixels.at(static_cast<std::size_t>(y * width + x)); }
};

Colour pixelFromRow(const Bytes& bytes, std::size_t row, int x, int bitsPerPixel,
                    const std::vector<Colour>& palette) {
    if (bitsPerPixel == 24) {
        const std::size_t at = row + static_cast<std::size_t>(x) * 3;
        return {bytes.at(at + 2), bytes.at(at + 1), bytes.at(at)};
    }
    const int bit = (bytes.at(row + static_cast<std::size_t>(x / 8)) >> (7 - x % 8)) & 1;
    return palette.at(static_cast<std::size_t>(bit));
}

Bitmap decodeBmp(const Bytes& bytes) {
    Bitmap bitmap;
    EXPECT_EQ(tagAt(bytes, 0).substr(0, 2), "BM");
    EXPECT_EQ(le32(bytes, 2), bytes.size());
    EXPECT_EQ(le32(bytes, 14), 40u) << "BITMAPINFOHEADER expected";
    EXPECT_EQ(le32(bytes, 30), 0u) << "must be uncompressed";
    bitmap.width = signed32(bytes, 18);
    bitmap.height = signed32(bytes, 22);
    bitmap.bitsPerPixel = static_cast<int>(le16(bytes, 28));
    EXPECT_GT(bitmap.height, 0) << "rows must be stored bottom-up";
    std::vector<Colour> palette;
    for (std::size_t at = 54; at < le32(bytes, 10); at += 4) {
        palette.push_back({bytes.at(at + 2), bytes.at(at + 1), bytes.at(at)});
    }
    const std::size_t stride =
        (static_cast<std::size_t>(bitmap.width * bitmap.bitsPerPixel) + 31) / 32 * 4;
    EXPECT_EQ(bytes.size(), le32(bytes, 10) + stride * static_cast<std::size_t>(bitmap.height));
    for (int y = 0; y < bitmap.height; ++y) {
        const std::size_t row =
            le32(bytes, 10) + stride * static_cast<std::size_t>(bitmap.height - 1 - y);
        for (int x = 0; x < bitmap.width; ++x) {
            bitmap.pixels.push_back(pixelFromRow(bytes, row, x, bitmap.bitsPerPixel, palette));
        }
    }
    return bitmap;
}

struct Rect {
    int left;
    int top;
    int width;
    int height;

    bool contains(int x, int y) const {
        return x >= left && y >= top && x < left + width && y < top + height;
    }
};

// Where the game cuts its pictures from a sprite sheet.
std::vector<Rect> spriteSheetPictures() {
    std::vector<Rect> pictures;
    for (int band : {0, 16}) {
        for (int cell = 0; cell < 10; ++cell) {
            pictures.push_back({16 * cell, band, 16, 16});
        }
    }
    for (int band : {32, 52}) {
        for (int cell = 0; cell < 7; ++cell) {
            pictures.push_back({16 * cell, band, 16, 20});
        }
        for (int cell = 7; cell < 10; ++cell) {
            pictures.push_back({16 * cell, band - 1, 16, 16});
        }
    }
    for (int band : {72, 92}) {
        for (int cell = 0; cell < 8; ++cell) {
            pictures.push_back({16 * cell, band, 16, 20});
        }
    }
    return pictures;
}

int opaquePixelsIn(const Bitmap& sheet, const Rect& rect) {
    int count = 0;
    for (int y = rect.top; y < rect.top + rect.height; ++y) {
        for (int x = rect.left; x < rect.left + rect.width; ++x) {
            count += sheet.at(x, y) == kYellow ? 0 : 1;
        }
    }
    return count;
}

const std::vector<std::string> kSpriteSheets = {
    "Resources/GameIcons.bmp", "Graphics/GameIcons 1.bmp", "Graphics/GameIcons 2.bmp",
    "Graphics/GameIcons 3.bmp"};

const std::vector<std::string> kSounds = {"Sounds/Robot Dies.wav", "Sounds/Intro.wav",
                                          "Sounds/Player Dies.wav", "Sounds/Screwdriver.wav",
                                          "Sounds/Teleport.wav"};

} // namespace

TEST(ArtGenFiles, GeneratesEveryFileTheGameLoads) {
    std::set<std::string> expected(kSpriteSheets.begin(), kSpriteSheets.end());
    expected.insert(kSounds.begin(), kSounds.end());
    expected.insert({"Resources/GridIcons.bmp", "Graphics/GridIcons.bmp", "Graphics/Wallpaper.bmp",
                     "Resources/Robot.ico", "Resources/RobotSmall.ico", "Resources/Help.bmp"});
    std::set<std::string> made;
    for (const auto& entry : generatedFiles()) {
        made.insert(entry.first);
    }
    EXPECT_EQ(made, expected);
}

TEST(ArtGenFiles, SameBytesOnEveryRun) {
    const std::vector<ArtFile> again = artgen::buildArtFiles();
    for (const ArtFile& file : again) {
        EXPECT_EQ(file.bytes, generated(file.path)) << file.path << " changes from run to run";
    }
}

// The copies in the repository are what the build and the installer ship. If this fails, run
// clankmere-artgen with the repository root and commit the result.
TEST(ArtGenFiles, CommittedFilesMatchTheGenerator) {
    const std::filesystem::path out =
        std::filesystem::path(::testing::TempDir()) / "clankmere-artgen-check";
    std::filesystem::remove_all(out);
    artgen::writeArtFiles(out);
    for (const auto& [path, bytes] : generatedFiles()) {
        std::ifstream written(out / std::filesystem::u8path(path), std::ios::binary);
        std::ifstream committed(std::filesystem::path(CLANKMERE_REPO_ROOT) /
                                    std::filesystem::u8path(path),
                                std::ios::binary);
        ASSERT_TRUE(written) << path << " was not written";
        ASSERT_TRUE(committed) << path << " is missing from the repository";
        const Bytes writtenBytes{std::istreambuf_iterator<char>(written), {}};
        const Bytes committedBytes{std::istreambuf_iterator<char>(committed), {}};
        EXPECT_EQ(writtenBytes, bytes) << path << " was written wrongly";
        EXPECT_TRUE(committedBytes == writtenBytes) << path << " is out of date in the repository";
    }
    std::filesystem::remove_all(out);
}

TEST(SpriteSheet, IsA160By120TrueColourBitmap) {
    for (const std::string& path : kSpriteSheets) {
        const Bitmap sheet = decodeBmp(generated(path));
        EXPECT_EQ(sheet.width, 160) << path;
        EXPECT_EQ(sheet.height, 120) << path;
        EXPECT_EQ(sheet.bitsPerPixel, 24) << path;
    }
}

TEST(SpriteSheet, EverythingOutsideThePicturesIsTransparentYellow) {
    const std::vector<Rect> pictures = spriteSheetPictures();
    for (const std::string& path : kSpriteSheets) {
        const Bitmap sheet = decodeBmp(generated(path));
        for (int y = 0; y < sheet.height; ++y) {
            for (int x = 0; x < sheet.width; ++x) {
                const bool inPicture = std::any_of(pictures.begin(), pictures.end(),
                                                   [&](const Rect& r) { return r.contains(x, y); });
                if (!inPicture) {
                    ASSERT_EQ(sheet.at(x, y), kYellow) << path << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(SpriteSheet, EveryPictureHasSomethingDrawn) {
    for (const std::string& path : kSpriteSheets) {
        const Bitmap sheet = decodeBmp(generated(path));
        for (const Rect& picture : spriteSheetPictures()) {
            EXPECT_GT(opaquePixelsIn(sheet, picture), 12)
                << path << " picture at " << picture.left << "," << picture.top;
        }
    }
}

// The last explosion frame is also cut out one row down as the 16 x 16 scrap heap, so the
// heap must fit in that window.
TEST(SpriteSheet, FinishedHeapFitsTheHeapIconWindow) {
    for (const std::string& path : kSpriteSheets) {
        const Bitmap sheet = decodeBmp(generated(path));
        for (int band : {32, 52}) {
            const Rect frame{96, band, 16, 20};
            const Rect heapIcon{96, band + 1, 16, 16};
            EXPECT_EQ(opaquePixelsIn(sheet, frame), opaquePixelsIn(sheet, heapIcon)) << path;
            EXPECT_GT(opaquePixelsIn(sheet, heapIcon), 40) << path;
        }
    }
}

// An explosion erases the dying robot's cell from one row below its top: a robot drawn in its
// top row would leave that row standing above the new heap.
TEST(SpriteSheet, RobotLeavesItsTopRowEmpty) {
    for (const std::string& path : kSpriteSheets) {
        const Bitmap sheet = decodeBmp(generated(path));
        for (int band : {0, 16}) {
            EXPECT_EQ(opaquePixelsIn(sheet, Rect{128, band, 16, 1}), 0) << path;
        }
    }
}

TEST(SpriteSheet, FirstInstalledSetIsTheBuiltInOne) {
    EXPECT_EQ(generated("Resources/GameIcons.bmp"), generated("Graphics/GameIcons 1.bmp"));
}

TEST(SpriteSheet, OtherSetsLookDifferent) {
    const Bitmap first = decodeBmp(generated("Graphics/GameIcons 1.bmp"));
    const Rect robot{128, 0, 16, 16};
    for (const std::string path : {"Graphics/GameIcons 2.bmp", "Graphics/GameIcons 3.bmp"}) {
        const Bitmap other = decodeBmp(generated(path));
        int differing = 0;
        for (int y = robot.top; y < robot.top + robot.height; ++y) {
            for (int x = robot.left; x < robot.left + robot.width; ++x) {
                differing += first.at(x, y) == other.at(x, y) ? 0 : 1;
            }
        }
        EXPECT_GT(differing, 30) << path << " robot looks like the first set's";
    }
}

namespace {

// The positions along a line of 16 pixels that hold `colour`; everything else must be yellow.
std::vector<int> dotsAlong(const Bitmap& strip, int left, bool rightColumn, Colour colour) {
    std::vector<int> dots;
    for (int i = 0; i < 16; ++i) {
        const Colour pixel = rightColumn ? strip.at(left + 15, i) : strip.at(left + i, 0);
        if (pixel == colour) {
            dots.push_back(i);
        } else {
            EXPECT_EQ(pixel, kYellow) << "icon at x " << left << " pixel " << i;
        }
    }
    return dots;
}

void expectEvenlySpaced(const std::vector<int>& dots, int spacing, const std::string& where) {
    ASSERT_EQ(static_cast<int>(dots.size()), 16 / spacing) << where;
    for (std::size_t i = 1; i < dots.size(); ++i) {
        EXPECT_EQ(dots[i] - dots[i - 1], spacing) << where;
    }
}

} // namespace

TEST(GridIcons, DottedLinesAlongTopAndRightEdgesOnly) {
    struct Expected {
        Colour colour;
        int spacing;
    };
    const Expected icons[] = {{{0, 0, 0}, 2},
                              {{128, 128, 128}, 2},
                              {{255, 255, 255}, 2},
                              {{128, 128, 128}, 4},
                              {{255, 255, 255}, 4}};
    for (const std::string path : {"Resources/GridIcons.bmp", "Graphics/GridIcons.bmp"}) {
        const Bitmap strip = decodeBmp(generated(path));
        ASSERT_EQ(strip.width, 80);
        ASSERT_EQ(strip.height, 16);
        EXPECT_EQ(strip.bitsPerPixel, 24);
        for (int icon = 0; icon < 5; ++icon) {
            const int left = icon * 16;
            const std::string where = path + " icon " + std::to_string(icon + 1);
            expectEvenlySpaced(dotsAlong(strip, left, false, icons[icon].colour),
                               icons[icon].spacing, where + " top");
            expectEvenlySpaced(dotsAlong(strip, left, true, icons[icon].colour),
                               icons[icon].spacing, where + " right");
            for (int y = 1; y < 16; ++y) {
                for (int x = 0; x < 15; ++x) {
                    EXPECT_EQ(strip.at(left + x, y), kYellow) << where;
                }
            }
        }
    }
}

TEST(Wallpaper, IsPaleAndTilesWithoutASeam) {
    const Bitmap tile = decodeBmp(generated("Graphics/Wallpaper.bmp"));
    ASSERT_EQ(tile.width, 64);
    ASSERT_EQ(tile.height, 64);
    const auto step = [](Colour a, Colour b) {
        return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
    };
    int insideStep = 0;
    int seamStep = 0;
    const auto record = [&](bool acrossSeam, int size) {
        int& worst = acrossSeam ? seamStep : insideStep;
        worst = std::max(worst, size);
    };
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const Colour pixel = tile.at(x, y);
            EXPECT_GE(std::min({pixel.r, pixel.g, pixel.b}), 190)
                << "too dark at " << x << "," << y;
            EXPECT_FALSE(pixel == kYellow);
            record(x == 63, step(pixel, tile.at((x + 1) % 64, y)));
            record(y == 63, step(pixel, tile.at(x, (y + 1) % 64)));
        }
    }
    EXPECT_LE(seamStep, insideStep) << "the tile's edges do not meet smoothly";
}

TEST(HelpPicture, IsA1BitPictureOfMostlyWhitePaper) {
    const Bitmap help = decodeBmp(generated("Resources/Help.bmp"));
    ASSERT_EQ(help.width, 504);
    ASSERT_EQ(help.height, 283);
    EXPECT_EQ(help.bitsPerPixel, 1);
    int white = 0;
    int black = 0;
    for (const Colour& pixel : help.pixels) {
        white += pixel == Colour{255, 255, 255} ? 1 : 0;
        black += pixel == Colour{0, 0, 0} ? 1 : 0;
    }
    EXPECT_EQ(white + black, 504 * 283) << "only black and white may be shown";
    EXPECT_GT(white, black * 5) << "should read as black text on white";
    EXPECT_GT(black, 504 * 283 / 50) << "hardly any text";
}

namespace {

struct IconEntry {
    int size;
    std::uint32_t length;
    std::uint32_t offset;
};

std::vector<IconEntry> iconDirectory(const Bytes& ico) {
    EXPECT_EQ(le16(ico, 0), 0u);
    EXPECT_EQ(le16(ico, 2), 1u) << "not an icon file";
    std::vector<IconEntry> entries;
    for (std::uint32_t i = 0; i < le16(ico, 4); ++i) {
        const std::size_t at = 6 + 16 * i;
        entries.push_back(
            {ico.at(at) == 0 ? 256 : ico.at(at), le32(ico, at + 8), le32(ico, at + 12)});
        EXPECT_EQ(ico.at(at), ico.at(at + 1)) << "icons are square";
    }
    return entries;
}

// The 32-bit colour image must agree with the AND mask: transparent exactly where masked.
void expectMaskMatchesAlpha(const Bytes& ico, const IconEntry& entry) {
    const std::size_t header = entry.offset;
    ASSERT_EQ(le32(ico, header), 40u);
    ASSERT_EQ(signed32(ico, header + 4), entry.size);
    ASSERT_EQ(signed32(ico, header + 8), entry.size * 2) << "height counts colour and mask";
    ASSERT_EQ(le16(ico, header + 14), 32u);
    const std::size_t colours = header + 40;
    const std::size_t mask = colours + static_cast<std::size_t>(entry.size * entry.size * 4);
    const std::size_t maskStride = (static_cast<std::size_t>(entry.size) + 31) / 32 * 4;
    ASSERT_EQ(mask + maskStride * static_cast<std::size_t>(entry.size),
              entry.offset + entry.length);
    int opaque = 0;
    for (int row = 0; row < entry.size; ++row) {
        for (int x = 0; x < entry.size; ++x) {
            const std::size_t pixel = static_cast<std::size_t>(row * entry.size + x);
            const int alpha = ico.at(colours + pixel * 4 + 3);
            const int masked = (ico.at(mask + static_cast<std::size_t>(row) * maskStride +
                                       static_cast<std::size_t>(x / 8)) >>
                                (7 - x % 8)) &
                               1;
            EXPECT_TRUE((alpha == 0 && masked == 1) || (alpha == 255 && masked == 0))
                << entry.size << "px icon at " << x << "," << row;
            opaque += alpha == 255 ? 1 : 0;
        }
    }
    EXPECT_GT(opaque, entry.size * entry.size / 3) << "the robot should fill the icon";
    EXPECT_LT(opaque, entry.size * entry.size) << "the icon needs a see-through background";
}

} // namespace

TEST(RobotIcon, Holds16And32PixelImagesWithMasks) {
    const Bytes& ico = generated("Resources/Robot.ico");
    const std::vector<IconEntry> entries = iconDirectory(ico);
    ASSERT_EQ(entries.size(), 2u);
    std::set<int> sizes;
    std::uint32_t end = 6 + 16 * 2;
    for (const IconEntry& entry : entries) {
        sizes.insert(entry.size);
        EXPECT_EQ(entry.offset, end) << "images must follow each other without gaps";
        end = entry.offset + entry.length;
        expectMaskMatchesAlpha(ico, entry);
    }
    EXPECT_EQ(end, ico.size());
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
}

TEST(RobotIcon, SmallIconHoldsOnly16Pixels) {
    const Bytes& ico = generated("Resources/RobotSmall.ico");
    const std::vector<IconEntry> entries = iconDirectory(ico);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].size, 16);
    expectMaskMatchesAlpha(ico, entries[0]);
}

namespace {

std::vector<int> wavSamples(const Bytes& wav, const std::string& path) {
    EXPECT_EQ(tagAt(wav, 0), "RIFF") << path;
    EXPECT_EQ(le32(wav, 4), wav.size() - 8) << path;
    EXPECT_EQ(tagAt(wav, 8), "WAVE") << path;
    EXPECT_EQ(tagAt(wav, 12), "fmt ") << path;
    EXPECT_EQ(le32(wav, 16), 16u) << path;
    EXPECT_EQ(le16(wav, 20), 1u) << path << " is not PCM";
    EXPECT_EQ(le16(wav, 22), 1u) << path << " is not mono";
    EXPECT_EQ(le32(wav, 24), 22050u) << path;
    EXPECT_EQ(le32(wav, 28), 22050u * 2) << path << " byte rate";
    EXPECT_EQ(le16(wav, 32), 2u) << path << " block align";
    EXPECT_EQ(le16(wav, 34), 16u) << path;
    EXPECT_EQ(tagAt(wav, 36), "data") << path;
    EXPECT_EQ(le32(wav, 40), wav.size() - 44) << path;
    std::vector<int> samples;
    for (std::size_t at = 44; at + 1 < wav.size(); at += 2) {
        samples.push_back(static_cast<std::int16_t>(le16(wav, at)));
    }
    return samples;
}

} // namespace

TEST(Sounds, AreShortSixteenBitMonoPcm) {
    for (const std::string& path : kSounds) {
        const Bytes& wav = generated(path);
        const std::vector<int> samples = wavSamples(wav, path);
        const double seconds = samples.size() / 22050.0;
        EXPECT_GE(seconds, 0.2) << path;
        EXPECT_LE(seconds, 1.2) << path;
        EXPECT_LT(wav.size(), 60u * 1024u) << path;
    }
}

TEST(Sounds, AreAudibleWithoutClippingOrClicks) {
    for (const std::string& path : kSounds) {
        const std::vector<int> samples = wavSamples(generated(path), path);
        ASSERT_FALSE(samples.empty()) << path;
        int peak = 0;
        for (int sample : samples) {
            peak = std::max(peak, std::abs(sample));
        }
        EXPECT_GT(peak, 16000) << path << " is too quiet";
        EXPECT_LT(peak, 32767) << path << " clips";
        EXPECT_LT(std::abs(samples.front()), 300) << path << " starts with a click";
        EXPECT_LT(std::abs(samples.back()), 300) << path << " ends with a click";
    }
}

TEST(Sounds, EachFileHoldsItsOwnSound) {
    std::set<Bytes> distinct;
    for (const std::string& path : kSounds) {
        distinct.insert(generated(path));
    }
    EXPECT_EQ(distinct.size(), kSounds.size());
}

TEST(HelpFont, HasAGlyphForEveryPrintableCharacter) {
    for (char c = 32; c < 127; ++c) {
        EXPECT_NO_THROW(artgen::textWidth(std::string(1, c))) << "character " << int(c);
    }
}

TEST(HelpFont, WrapsTextIntoLinesThatFitAndKeepEveryWord) {
    const std::string text = "Robots are after you! Each time you take a step, every robot "
                             "takes one step closer, so keep moving.";
    const int width = 90;
    const std::vector<std::string> lines = artgen::wrapText(text, width);
    EXPECT_GT(lines.size(), 2u);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(artgen::textWidth(line), width) << line;
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, text);
}
