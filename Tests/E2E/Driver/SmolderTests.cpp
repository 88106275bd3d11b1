// Smoldering scrap heaps: turned on, the heap of an idle board shows each of its three frames
// while the rest stays; turned off, the plain heap is back; and the frames are no quiet seconds,
// so the demo still starts eleven quiet seconds after the last input.

#include "Scenario.h"

namespace {

void ToggleSmolderingHeaps(Game& game) {
    const MenuDialog dialog = game.OpenFromMenu(40018, "Advanced Options");
    Click(dialog.window, 2002);
    Click(dialog.window, IDOK);
    game.WaitForCommandEnd(dialog, "after OK in Advanced Options");
}

} // namespace

E2E_TEST(smoldering_heaps_step_through_their_frames_and_keep_the_idle_clock) {
    // Before its played move, a step into a robot, this record's board holds a heap at (20, 9).
    ResumedGame resumed(context, "game-over");
    Game& game = resumed.game;
    const Picture plain =
        ComposeBoard(resumed.recorded.PositionAfter(resumed.resumed), resumed.sheet);
    // Frame k stands where the plain heap does, two pixels down, cut at the cell's bottom.
    std::vector<Picture> frames(3, plain);
    for (int k = 0; k < 3; ++k) {
        DrawSprite(frames[k], resumed.sheet, {{112 + 16 * k, 31}, 14}, 20 * 16, 9 * 16 + 2);
    }
    ToggleSmolderingHeaps(game);
    int framesSeen = 0;
    if (!WaitUntil([&] {
            const Picture shown = game.Capture();
            for (int k = 0; k < 3; ++k) {
                framesSeen |= FirstBoardDifference(frames[k], shown).empty() ? 1 << k : 0;
            }
            return framesSeen == 7;
        })) {
        Fail("with smoldering heaps the heap at (20, 9) showed only frames %d (bits)", framesSeen);
    }

    ToggleSmolderingHeaps(game);
    for (const double off = NowMs(); NowMs() - off < 1000;) { // the time of several frames
        if (!FirstBoardDifference(plain, game.Capture()).empty()) {
            Fail("after turning smoldering heaps off, the board is not the plain one");
        }
    }

    ToggleSmolderingHeaps(game);
    EnsureNumLockOn();
    game.Command(NumericPadKey(resumed.moves[resumed.resumed]), kNoModifiers, "the fatal step");
    const double lastInput = NowMs();
    const RECT statusLine = {0, kBoardHeight, kClientWidth, kClientHeight};
    const Picture status = Crop(game.Capture(), statusLine);
    Picture heap;
    int heapChanges = 0;
    // The demo's first full redraw changes the status line.
    WaitUntil([&] {
        const Picture shown = game.Capture();
        const Picture heapNow = Crop(shown, Scene::CellArea(20, 9, kCellPixels));
        heapChanges += heapNow == heap ? 0 : 1;
        heap = heapNow;
        return !(Crop(shown, statusLine) == status);
    });
    const double quietMs = NowMs() - lastInput;
    if (quietMs < 10500 || quietMs > 15000 || heapChanges < 10) {
        Fail("the demo came %.1f s after the last input, not eleven; the heap changed %d times",
             quietMs / 1000, heapChanges);
    }
}
