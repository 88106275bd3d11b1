// Play at 192 dots per inch: the frame is shown at twice its size with every pixel an exact
// 2 x 2 block, and a click on a doubled arrow still moves the player.
#include "Game.h"
#include "Scene.h"

namespace {

constexpr int kScale = 2;

// The frame behind the window's picture; empty unless the window shows it at kScale.
Picture ShownFrame(Game& game) {
    const Picture shown = game.Capture();
    if (shown.width != kClientWidth * kScale || shown.height != kClientHeight * kScale) {
        return {};
    }
    Picture frame(kClientWidth, kClientHeight, 0);
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            if (shown.At(x, y) != shown.At(x - x % kScale, y - y % kScale)) {
                return {};
            }
            frame.At(x / kScale, y / kScale) = shown.At(x, y);
        }
    }
    return frame;
}

void WaitForDoubledBoard(Game& game, const Position& position, const Picture& sheet,
                         const char* when) {
    const Picture expected = ComposeBoard(position, sheet);
    if (!WaitUntil([&] { return FirstBoardDifference(expected, ShownFrame(game)).empty(); })) {
        Fail("%s: the window is not the board with every pixel doubled", when);
    }
}

} // namespace

E2E_TEST(high_dpi_shows_every_pixel_doubled_and_takes_clicks_on_the_arrows) {
    const DWORD dpi = 96 * kScale;
    if (RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi,
                        sizeof dpi) != ERROR_SUCCESS) {
        Fail("cannot store LogPixels");
    }
    const RecordedGame recorded(context, "mouse");
    const size_t first = recorded.FirstPlayedMove();
    PrepareResume(context, recorded, first);
    const Picture sheet = SpriteSheetOf(context);
    Game game(context);
    const HWND window = game.WaitForMainWindow();
    const Position before = recorded.PositionAfter(first);
    WaitForDoubledBoard(game, before, sheet, "after resuming the game at 192 dpi");

    // The middle of the arrow of the first played move, in window pixels.
    const int move = recorded.Record().moves[first] - '1';
    const POINT player = PlayerCell(before);
    POINT arrow = {((player.x + move % 3 - 1) * kCellPixels + kCellPixels / 2) * kScale,
                   ((player.y + 1 - move / 3) * kCellPixels + kCellPixels / 2) * kScale};
    ClientToScreen(window, &arrow);
    game.Focus();
    ClickAt(arrow);
    WaitForDoubledBoard(game, recorded.PositionAfter(first + 1), sheet,
                        "after a click on the doubled arrow");
    QuitWithQ(game);
}
