// What a real desktop does to the program that a plain test display does not: surfaces taken
// away in the middle of a game, damaged image files, a 16-bit screen, and dialog fonts that
// need more room than the labels were given.
#include "Scenario.h"

#include <cstdio>
#include <cstring>

namespace {

// The test-only switch of the game's Windows layer: with it, the message blanks every surface
// and makes the next present report them lost, as a display mode change does on Windows (Wine
// keeps a window's surfaces through ChangeDisplaySettings).
constexpr char kSurfaceLossSwitch[] = "CLANKMERE_TEST_SURFACE_LOSS";
constexpr UINT kLoseSurfacesMessage = WM_APP;

constexpr const char* kImageFiles[] = {"GameIcons 1.bmp", "GameIcons 2.bmp", "GameIcons 3.bmp",
                                       "GridIcons.bmp", "Wallpaper.bmp"};
constexpr int kBuiltInSprites = 112;
constexpr int kSpriteWidth = 160;
constexpr int kSpriteHeight = 120;
constexpr int kBitmapHeadersSize = 14 + 40;

std::string GraphicsPath(const Installation& installation, const std::string& file) {
    return installation.installDir + "\\Graphics\\" + file;
}

// The installation's files are hard links shared with other tests: a file is replaced, never
// written in place.
void ReplaceFile(const std::string& path, const std::string& bytes) {
    DeleteFileA(path.c_str());
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE ||
        !WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        Fail("cannot write %s", path.c_str());
    }
    CloseHandle(file);
}

// A 24-bit bitmap file of one colour, width a multiple of four.
std::string SolidBitmapFile(int width, int height, uint32_t color) {
    const uint32_t pixelBytes = uint32_t(width) * height * 3;
    std::string file(kBitmapHeadersSize + pixelBytes, '\0');
    auto put = [&](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            file[at + i] = static_cast<char>(value >> (8 * i));
        }
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, uint32_t(file.size()), 4);
    put(10, kBitmapHeadersSize, 4);
    put(14, 40, 4);
    put(18, uint32_t(width), 4);
    put(22, uint32_t(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (uint32_t at = kBitmapHeadersSize; at < file.size(); at += 3) {
        put(at, color, 3); // blue, green, red: the colour's bytes from the low end
    }
    return file;
}

// The game resumed on the record's position before its first played move.
struct Resumed {
    RecordedGame recorded;
    size_t length;
};

Resumed PrepareResumed(const Installation& installation, const char* name) {
    Resumed resumed{RecordedGame(installation, name), 0};
    resumed.length = resumed.recorded.FirstPlayedMove();
    PrepareResume(installation, resumed.recorded, resumed.length);
    return resumed;
}

// How the screen shows `color`: through a bitmap of the screen's own format, which must have
// 16 bits per pixel.
uint32_t ShownAtScreenDepth(COLORREF color) {
    const HDC screen = GetDC(nullptr);
    const int bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    SetPixel(memory, 0, 0, color);
    const COLORREF shown = GetPixel(memory, 0, 0);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (bitsPerPixel != 16) {
        Fail("the display has %d bits per pixel instead of 16", bitsPerPixel);
    }
    return Rgb(GetRValue(shown), GetGValue(shown), GetBValue(shown));
}

} // namespace

E2E_TEST(lost_surfaces_come_back_whole_at_the_next_frame) {
    const Resumed resumed = PrepareResumed(context, "numeric-pad");
    // A wallpaper in the background colour: the composed boards still hold, and a wallpaper
    // left blank by the loss would show.
    ReplaceFile(GraphicsPath(context, "Wallpaper.bmp"), SolidBitmapFile(16, 16, kBackgroundColor));
    SetEnvironmentVariableA(kSurfaceLossSwitch, "1");
    Game game(context);
    const Picture sheet = SpriteSheetOf(context);
    const size_t at = resumed.length;
    game.WaitForBoard(resumed.recorded.PositionAfter(at), sheet, "after resuming the game");
    const HWND window = game.WaitForMainWindow();

    // The step's first frame meets the loss.
    PostMessageA(window, kLoseSurfacesMessage, 0, 0);
    EnsureNumLockOn();
    const char move = resumed.recorded.Record().moves[at];
    game.Command(NumericPadKey(move), kNoModifiers, Format("numeric-pad %c", move));
    game.WaitForBoard(resumed.recorded.PositionAfter(at + 1), sheet,
                      "after a step whose frames met lost surfaces");

    // Repaints: one meets a loss; after the other, the frame shows and nothing erases it.
    for (const bool lose : {true, false}) {
        if (lose) {
            PostMessageA(window, kLoseSurfacesMessage, 0, 0);
        }
        InvalidateRect(window, nullptr, TRUE);
        if (!WaitUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); })) {
            Fail("the window was not repainted");
        }
        game.WaitForBoard(resumed.recorded.PositionAfter(at + 1), sheet,
                          lose ? "after a repaint that met lost surfaces" : "after a repaint");
    }
    QuitWithQ(game);
}

E2E_TEST(damaged_image_files_are_treated_as_missing) {
    struct Damage {
        const char* name;
        size_t (*keptBytes)(size_t size);
    };
    const Damage damages[] = {
        {"zero-length", [](size_t) { return size_t(0); }},
        {"headers only", [](size_t) { return size_t(kBitmapHeadersSize); }},
        {"cut in half", [](size_t size) { return size / 2; }},
    };
    std::string originals[std::size(kImageFiles)];
    for (size_t i = 0; i < std::size(kImageFiles); ++i) {
        originals[i] = ReadFileBytes(GraphicsPath(context, kImageFiles[i]));
    }
    const Picture builtIn =
        LoadBitmapPicture("", context.gamePath, kBuiltInSprites, kSpriteWidth, kSpriteHeight);
    for (const Damage& damage : damages) {
        const Resumed resumed = PrepareResumed(context, "resume");
        for (size_t i = 0; i < std::size(kImageFiles); ++i) {
            ReplaceFile(GraphicsPath(context, kImageFiles[i]),
                        originals[i].substr(0, damage.keptBytes(originals[i].size())));
        }
        Game game(context);
        game.WaitForBoard(resumed.recorded.PositionAfter(resumed.length), builtIn,
                          Format("with every image file %s (the built-in sprites and no "
                                 "wallpaper)",
                                 damage.name));
        QuitWithQ(game);
    }
}

// run.sh runs the tests named "..._at_16_bits" on a display of 16 bits per pixel.
E2E_TEST(board_background_matches_the_status_strip_at_16_bits) {
    const uint32_t expected = ShownAtScreenDepth(RGB(220, 255, 220));
    PrepareResumed(context, "resume");
    Game game(context);
    game.WaitForMainWindow();
    // The board area's bottom rows never show a cell, and the strip's left edge no text.
    uint32_t background = 0;
    uint32_t strip = 0;
    if (!WaitUntil([&] {
            const Picture client = game.Capture();
            background = client.At(kBoardWidth - 1, kBoardHeight - 1);
            strip = client.At(2, kBoardHeight + 8);
            return background == expected && strip == expected;
        })) {
        Fail("RGB(220, 255, 220) shows as %s at 16 bits, but the board's background as %s and "
             "the status strip as %s",
             DescribeColor(expected).c_str(), DescribeColor(background).c_str(),
             DescribeColor(strip).c_str());
    }
    QuitWithQ(game);
}

E2E_TEST(every_dialog_label_fits_its_control) {
    StoreDefaultPreferences();
    Game game(context);
    game.WaitForMainWindow();
    std::string clipped;
    for (const std::string& label : game.Probe().ReadDialogLabels()) {
        const size_t widths = label.find('|', label.find('|') + 1);
        long needed = 0;
        long width = 0;
        if (widths == std::string::npos ||
            std::sscanf(label.c_str() + widths, "|%ld|%ld", &needed, &width) != 2) {
            Fail("the probe sent a line it should not: %s", label.c_str());
        }
        if (needed > width) {
            clipped += Format("; %s needs %ld pixels and has %ld",
                              label.substr(6, widths - 6).c_str(), needed, width);
        }
    }
    if (!clipped.empty()) {
        Fail("labels cut off%s", clipped.c_str());
    }
    QuitWithQ(game);
}
