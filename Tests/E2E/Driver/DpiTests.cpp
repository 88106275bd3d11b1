// Play at 192 dots per inch: the frame is shown at twice its size with every pixel an exact
// 2 x 2 block, and a click on a doubled arrow still moves the player.
#include "Scenario.h"

namespace {

constexpr int kScale = 2;

// Waits until the window shows the board of `position` at kScale, every pixel an exact block.
void WaitForDoubledBoard(Game& game, const Position& position, const Picture& sheet,
                         const char* when) {
    const Picture board = ComposeBoard(position, sheet);
    const auto doubled = [&] {
        const Picture shown = game.Capture();
        Picture frame(kClientWidth, kClientHeight, 0);
        bool blocks =
            shown.width == kClientWidth * kScale && shown.height == kClientHeight * kScale;
        for (int y = 0; blocks && y < shown.height; ++y) {
            for (int x = 0; blocks && x < shown.width; ++x) {
                blocks = shown.At(x, y) == shown.At(x - x % kScale, y - y % kScale);
                frame.At(x / kScale, y / kScale) = shown.At(x, y);
            }
        }
        return blocks && FirstBoardDifference(board, frame).empty();
    };
    if (!WaitUntil(doubled)) {
        Fail("%s: the window is not the board with every pixel doubled", when);
    }
}

} // namespace

E2E_TEST(high_dpi_shows_every_pixel_doubled_and_takes_clicks_on_the_arrows) {
    const DWORD dpi = 96 * kScale;
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi,
                    sizeof dpi);
    const RecordedGame recorded(context, "mouse");
    const size_t first = recorded.FirstPlayedMove();
    PrepareResume(context, recorded, first);
    const Picture sheet = SpriteSheetOf(context);
    Game game(context);
    const HWND window = game.WaitForMainWindow();
    CheckClientSize(window, kClientWidth * kScale, kClientHeight * kScale, "at 192 dpi");
    const Position before = recorded.PositionAfter(first);
    WaitForDoubledBoard(game, before, sheet, "after resuming the game at 192 dpi");

    // The middle of the arrow of the first played move, in window pixels.
    const POINT cell = StepTarget(PlayerCell(before), recorded.Record().moves[first]);
    POINT arrow = {(2 * cell.x + 1) * kCellPixels * kScale / 2,
                   (2 * cell.y + 1) * kCellPixels * kScale / 2};
    ClientToScreen(window, &arrow);
    game.Focus();
    ClickAt(arrow);
    WaitForDoubledBoard(game, recorded.PositionAfter(first + 1), sheet,
                        "after a click on the doubled arrow");
    QuitWithQ(game);
}
