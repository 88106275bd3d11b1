// What a real desktop does to the program that a plain test display does not: surfaces taken
// away in the middle of a game, damaged image files, and a 16-bit screen.
#include "Scenario.h"

#include <fstream>

namespace {

// The test-only switch of the game's Windows layer: with it, the message blanks every surface
// and makes the next present report them lost, as a display mode change does on Windows (Wine
// keeps a window's surfaces through ChangeDisplaySettings).
constexpr char kSurfaceLossSwitch[] = "CLANKMERE_TEST_SURFACE_LOSS";
constexpr UINT kLoseSurfacesMessage = WM_APP;

constexpr const char* kImageFiles[] = {"GameIcons 1.bmp", "GameIcons 2.bmp", "GameIcons 3.bmp",
                                       "GridIcons.bmp", "Wallpaper.bmp"};
constexpr int kBitmapHeadersSize = 14 + 40;

// The installation's files are hard links shared with other tests: a file is replaced, never
// written in place.
std::string Replaced(const Installation& installation, const std::string& file) {
    const std::string path = installation.installDir + "\\Graphics\\" + file;
    DeleteFileA(path.c_str());
    return path;
}

} // namespace

E2E_TEST(lost_surfaces_come_back_whole_at_the_next_frame) {
    const RecordedGame recorded(context, "numeric-pad");
    const size_t at = recorded.FirstPlayedMove();
    PrepareResume(context, recorded, at);
    // A wallpaper in the background colour: the composed boards still hold, and a wallpaper
    // left blank by the loss would show.
    SavePicture(Picture(16, 16, kBackgroundColor), Replaced(context, "Wallpaper.bmp"));
    SetEnvironmentVariableA(kSurfaceLossSwitch, "1");
    Game game(context);
    const Picture sheet = SpriteSheetOf(context);
    game.WaitForBoard(recorded.PositionAfter(at), sheet, "after resuming the game");
    const HWND window = game.WaitForMainWindow();

    // The step's first frame meets the loss.
    PostMessageA(window, kLoseSurfacesMessage, 0, 0);
    EnsureNumLockOn();
    const char move = recorded.Record().moves[at];
    game.Command(NumericPadKey(move), kNoModifiers, Format("numeric-pad %c", move));
    game.WaitForBoard(recorded.PositionAfter(at + 1), sheet,
                      "after a step whose frames met lost surfaces");

    // Repaints: one meets a loss; after the other, the frame shows and nothing erases it.
    for (const bool lose : {true, false}) {
        if (lose) {
            PostMessageA(window, kLoseSurfacesMessage, 0, 0);
        }
        InvalidateRect(window, nullptr, TRUE);
        E2E_CHECK(WaitUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); }),
                  "the window was not repainted");
        game.WaitForBoard(recorded.PositionAfter(at + 1), sheet,
                          lose ? "after a repaint that met lost surfaces" : "after a repaint");
    }
    QuitWithQ(game);
}

E2E_TEST(damaged_image_files_are_treated_as_missing) {
    const struct {
        const char* name;
        size_t (*keptBytes)(size_t size);
    } damages[] = {
        {"zero-length", [](size_t) { return size_t(0); }},
        {"headers only", [](size_t) { return size_t(kBitmapHeadersSize); }},
        {"cut in half", [](size_t size) { return size / 2; }},
    };
    std::string originals[std::size(kImageFiles)];
    for (size_t i = 0; i < std::size(kImageFiles); ++i) {
        originals[i] = ReadFileBytes(context.installDir + "\\Graphics\\" + kImageFiles[i]);
    }
    const RecordedGame recorded(context, "resume");
    const size_t length = recorded.FirstPlayedMove();
    const Picture builtIn = LoadBitmapPicture("", context.gamePath, IDB_GAME_ICONS, 160, 120);
    for (const auto& damage : damages) {
        PrepareResume(context, recorded, length);
        for (size_t i = 0; i < std::size(kImageFiles); ++i) {
            const std::string kept = originals[i].substr(0, damage.keptBytes(originals[i].size()));
            E2E_CHECK(std::ofstream(Replaced(context, kImageFiles[i]), std::ios::binary) << kept,
                      "cannot write %s", kImageFiles[i]);
        }
        Game game(context);
        game.WaitForBoard(recorded.PositionAfter(length), builtIn,
                          Format("with every image file %s (the built-in sprites and no wallpaper)",
                                 damage.name));
        QuitWithQ(game);
    }
}

// run.sh runs the tests named "..._at_16_bits" on a display of 16 bits per pixel.
E2E_TEST(board_background_matches_the_status_strip_at_16_bits) {
    // How the screen shows the colour: through a bitmap of the screen's own format.
    const HDC screen = GetDC(nullptr);
    E2E_CHECK(GetDeviceCaps(screen, BITSPIXEL) == 16, "the display has %d bits per pixel",
              GetDeviceCaps(screen, BITSPIXEL));
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(memory, CreateCompatibleBitmap(screen, 1, 1));
    SetPixel(memory, 0, 0, RGB(220, 255, 220));
    const COLORREF shown = GetPixel(memory, 0, 0);
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    const uint32_t expected = Rgb(GetRValue(shown), GetGValue(shown), GetBValue(shown));
    const RecordedGame recorded(context, "resume");
    PrepareResume(context, recorded, recorded.FirstPlayedMove());
    Game game(context);
    game.WaitForMainWindow();
    // The board area's bottom rows never show a cell, and the strip's left edge no text.
    uint32_t background = 0;
    uint32_t strip = 0;
    E2E_CHECK(WaitUntil([&] {
                  const Picture client = game.Capture();
                  background = client.At(kBoardWidth - 1, kBoardHeight - 1);
                  strip = client.At(2, kBoardHeight + 8);
                  return background == expected && strip == expected;
              }),
              "RGB(220, 255, 220) shows as %s at 16 bits, but the board's background as %s and "
              "the status strip as %s",
              DescribeColor(expected).c_str(), DescribeColor(background).c_str(),
              DescribeColor(strip).c_str());
    QuitWithQ(game);
}
