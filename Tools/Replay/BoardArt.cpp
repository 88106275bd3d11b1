#include "BoardArt.h"

#include "BitmapFile.h"
#include "ByteOrder.h"
#include "GridIcons.h"
#include "SafeFile.h"
#include "SpriteSheet.h"
#include "Wallpaper.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int kMaxSpriteSets = 10;
constexpr int kGridImageWidth = 80;
constexpr int kGridImageHeight = 16;
constexpr size_t kFileHeaderBytes = 14;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(OpenNamedFile(path.c_str(), "rb"));
    uint64_t size = 0;
    std::vector<uint8_t> bytes;
    // Pictures of the game are small; anything past 64 MB is not one of them.
    if (!file || !QueryFileSize(path.c_str(), &size) || size > (uint64_t(64) << 20)) {
        return bytes;
    }
    bytes.resize(static_cast<size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        bytes.clear();
    }
    return bytes;
}

std::string Joined(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "/" + name;
}

bool HoldsSpriteSheet(const std::string& folder) {
    std::unique_ptr<std::FILE, FileCloser> file(
        OpenNamedFile(Joined(folder, "GameIcons 1.bmp").c_str(), "rb"));
    return file != nullptr;
}

} // namespace

std::optional<artgen::Image> ReadBitmapFile(const std::string& path, int width, int height) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    if (!IsWholeBitmapFile(bytes.data(), std::min(bytes.size(), kBitmapHeadBytes), bytes.size()) ||
        bytes.size() < kFileHeaderBytes + 40) {
        return std::nullopt;
    }
    CByteReader header(bytes.data() + 10);
    const uint32_t pixelOffset = header.U32();
    const uint32_t infoSize = header.U32();
    const int32_t fileWidth = header.I32();
    const int32_t fileHeight = header.I32();
    header.U16(); // planes
    const uint16_t bitCount = header.U16();
    const uint32_t compression = header.U32();
    const int rows = fileHeight < 0 ? -fileHeight : fileHeight;
    if (infoSize < 40 || compression != 0 || (bitCount != 24 && bitCount != 32) ||
        (width != 0 && (fileWidth != width || rows != height))) {
        return std::nullopt;
    }
    const size_t bytesPerPixel = bitCount / 8;
    const size_t rowBytes = (static_cast<size_t>(fileWidth) * bitCount + 31) / 32 * 4;
    artgen::Image image(fileWidth, rows);
    for (int y = 0; y < rows; ++y) {
        const int stored = fileHeight < 0 ? y : rows - 1 - y;
        const uint8_t* pixel = bytes.data() + pixelOffset + stored * rowBytes;
        for (int x = 0; x < fileWidth; ++x, pixel += bytesPerPixel) {
            image.set(x, y, artgen::Rgb{pixel[2], pixel[1], pixel[0]});
        }
    }
    return image;
}

std::string FindGraphicsFolder(const std::string& toolPath) {
    const size_t slash = toolPath.find_last_of("/\\");
    const std::string beside =
        Joined(slash == std::string::npos ? "" : toolPath.substr(0, slash), "Graphics");
    if (HoldsSpriteSheet(beside)) {
        return beside;
    }
#ifdef CLANKMERE_REPO_ROOT
    if (HoldsSpriteSheet(CLANKMERE_REPO_ROOT "/Graphics")) {
        return CLANKMERE_REPO_ROOT "/Graphics";
    }
#endif
    return "";
}

BoardArt LoadBoardArt(const std::string& folder) {
    BoardArt art;
    for (int n = 1; n <= kMaxSpriteSets; ++n) {
        char name[32] = {};
        std::snprintf(name, sizeof name, "GameIcons %d.bmp", n);
        std::optional<artgen::Image> sheet =
            ReadBitmapFile(Joined(folder, name), artgen::kSheetWidth, artgen::kSheetHeight);
        if (!sheet && n == 1) {
            sheet = artgen::spriteSheet(artgen::classicTheme());
        }
        if (!sheet) {
            break;
        }
        art.spriteSets.push_back(*sheet);
    }
    std::optional<artgen::Image> grid =
        ReadBitmapFile(Joined(folder, "GridIcons.bmp"), kGridImageWidth, kGridImageHeight);
    art.grid = grid ? *grid : artgen::gridIcons();
    art.wallpaper = ReadBitmapFile(Joined(folder, "Wallpaper.bmp"));
    return art;
}

BoardArt GeneratedBoardArt() {
    BoardArt art;
    art.spriteSets = {artgen::spriteSheet(artgen::classicTheme()),
                      artgen::spriteSheet(artgen::inkTheme()),
                      artgen::spriteSheet(artgen::brightTheme())};
    art.grid = artgen::gridIcons();
    art.wallpaper = artgen::wallpaper();
    return art;
}
