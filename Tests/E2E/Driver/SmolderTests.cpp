// Smoldering scrap heaps: with the option on, the heap of an idle board steps through its three
// smoldering frames while every other cell stays; turning the option off brings the plain heap
// back; and the frames are no quiet seconds of their own, so the demo still starts eleven quiet
// seconds after the last input.

#include "Scenario.h"

namespace {

constexpr int kAdvancedOptionsCommand = 40018;
constexpr int kSmolderingHeapsBox = 2002;
constexpr int kOk = 1;
constexpr RECT kStatusStrip = {0, kBoardHeight, kClientWidth, kClientHeight};

// The board with smoldering frame k (x 112 + 16k, y 31 of the sprite image) drawn over the
// heap, where its plain picture stands two pixels below the cell's top, cut at the cell's
// bottom; yellow is transparent.
Picture WithSmolderingHeap(Picture board, const Picture& sheet, POINT heap, int k) {
    for (int y = 0; y < kCellPixels - 2; ++y) {
        for (int x = 0; x < kCellPixels; ++x) {
            const uint32_t pixel = sheet.At(112 + kCellPixels * k + x, 31 + y);
            if (pixel != Rgb(255, 255, 0)) {
                board.At(heap.x * kCellPixels + x, heap.y * kCellPixels + 2 + y) = pixel;
            }
        }
    }
    return board;
}

void ToggleSmoldering(Game& game, const char* what) {
    const MenuDialog dialog = game.OpenFromMenu(kAdvancedOptionsCommand, "Advanced Options");
    Click(dialog.window, kSmolderingHeapsBox);
    Click(dialog.window, kOk);
    WaitUntilClosed(dialog.window, "OK");
    game.WaitForCommandEnd(dialog, Format("after turning smoldering heaps %s", what));
}

} // namespace

E2E_TEST(smoldering_heaps_step_through_their_frames_and_keep_the_idle_clock) {
    // Before its played move, a step into a robot, this record's board holds one heap.
    ResumedGame resumed(context, "game-over");
    Game& game = resumed.game;
    const Position position = resumed.recorded.PositionAfter(resumed.resumed);
    const Picture plain = ComposeBoard(position, resumed.sheet);
    const POINT heap = {20, 9};
    if (position.At(heap.x, heap.y) != 'S') {
        Fail("game-over.txt: its board before the played move must hold a heap at (20, 9)");
    }

    ToggleSmoldering(game, "on");
    int framesSeen = 0;
    bool other = false;
    WaitUntil([&] {
        const Picture shown = game.Capture();
        for (int k = 0; k < 3; ++k) {
            if (FirstBoardDifference(WithSmolderingHeap(plain, resumed.sheet, heap, k), shown)
                    .empty()) {
                framesSeen |= 1 << k;
            }
        }
        // The full redraw after the dialog shows the plain heap until the first frame.
        other = framesSeen == 0 && !FirstBoardDifference(plain, shown).empty();
        return framesSeen == 7 || other;
    });
    if (framesSeen != 7) {
        Fail(
            "with smoldering heaps the board showed only frames %d (bits) of the heap at (20, 9)%s",
            framesSeen, other ? " and a picture that is neither" : "");
    }

    ToggleSmoldering(game, "off");
    resumed.WaitForBoardAfter(resumed.resumed, "after turning smoldering heaps off");
    // Long enough for several frames, had the heap gone on smoldering.
    for (const double off = NowMs(); NowMs() - off < 1000;) {
        const std::string difference = FirstBoardDifference(plain, game.Capture(), &position);
        if (!difference.empty()) {
            Fail("after turning smoldering heaps off the board changed: %s", difference.c_str());
        }
    }

    ToggleSmoldering(game, "on again");
    EnsureNumLockOn();
    game.Command(NumericPadKey(resumed.moves[resumed.resumed]), kNoModifiers, "the fatal step");
    const double lastInput = NowMs();
    const Picture status = Crop(game.Capture(), kStatusStrip);
    Picture heapShown;
    int heapChanges = 0;
    // The demo's first full redraw changes the status line.
    WaitUntil([&] {
        const Picture shown = game.Capture();
        const Picture heapNow = Crop(shown, Scene::CellArea(heap.x, heap.y, kCellPixels));
        heapChanges += heapNow == heapShown ? 0 : 1;
        heapShown = heapNow;
        return !(Crop(shown, kStatusStrip) == status);
    });
    const double quietMs = NowMs() - lastInput;
    if (quietMs < 10500 || quietMs > 15000 || heapChanges < 10) {
        Fail("the demo started %.1f s after the last input instead of after eleven quiet seconds, "
             "and the heap changed %d times meanwhile",
             quietMs / 1000, heapChanges);
    }
}
