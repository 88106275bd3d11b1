// Smoldering scrap heaps: with the option on, the heap of an idle board steps through its three
// smoldering frames while every other cell stays; turning the option off brings the plain heap
// back; and the frames are no quiet seconds of their own, so the demo still starts eleven quiet
// seconds after the last input.

#include "Scenario.h"

#include <algorithm>

namespace {

constexpr int kAdvancedOptionsCommand = 40018;
constexpr int kSmolderingHeapsBox = 2002;
constexpr int kOk = 1;
constexpr int kNumSmolderFrames = 3;
constexpr double kSmolderFrameMs = 250;
constexpr double kQuietSecondsBeforeTheDemoMs = 11000;
// The pixel colour the sprite image leaves transparent.
constexpr uint32_t kSpriteKey = Rgb(255, 255, 0);

POINT OnlyHeap(const Position& position) {
    std::vector<POINT> heaps;
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            if (position.At(x, y) == 'S') {
                heaps.push_back({x, y});
            }
        }
    }
    if (heaps.size() != 1) {
        Fail("game-over.txt: its position before the played move must hold exactly one heap");
    }
    return heaps[0];
}

// The board with smoldering frame k (x 112 + 16k, y 31 of the sprite image) drawn over the
// heap, where its plain picture stands two pixels below the cell's top, cut at the cell's
// bottom.
Picture WithSmolderingHeap(Picture board, const Picture& sheet, POINT heap, int k) {
    for (int y = 0; y < kCellPixels - 2; ++y) {
        for (int x = 0; x < kCellPixels; ++x) {
            const uint32_t pixel = sheet.At(112 + kCellPixels * k + x, 31 + y);
            if (pixel != kSpriteKey) {
                board.At(heap.x * kCellPixels + x, heap.y * kCellPixels + 2 + y) = pixel;
            }
        }
    }
    return board;
}

// Ticks or unticks "Smoldering scrap heaps" and closes the dialog with OK.
void ToggleSmoldering(Game& game, const char* what) {
    const MenuDialog dialog = game.OpenFromMenu(kAdvancedOptionsCommand, "Advanced Options");
    Click(dialog.window, kSmolderingHeapsBox);
    Click(dialog.window, kOk);
    WaitUntilClosed(dialog.window, "OK");
    game.WaitForCommandEnd(dialog, Format("after OK with smoldering heaps %s", what));
}

} // namespace

E2E_TEST(smoldering_heaps_step_through_their_frames_and_keep_the_idle_clock) {
    // The played move of this record steps into a robot, next to the one heap on the board.
    ResumedGame resumed(context, "game-over");
    Game& game = resumed.game;
    const Position position = resumed.recorded.PositionAfter(resumed.resumed);
    const Picture plain = ComposeBoard(position, resumed.sheet);
    const POINT heap = OnlyHeap(position);

    ToggleSmoldering(game, "on");
    std::vector<bool> seen(kNumSmolderFrames);
    std::string unexpected;
    WaitUntil([&] {
        const Picture shown = game.Capture();
        for (int k = 0; k < kNumSmolderFrames; ++k) {
            const Picture frame = WithSmolderingHeap(plain, resumed.sheet, heap, k);
            if (FirstBoardDifference(frame, shown).empty()) {
                seen[k] = true;
                return std::find(seen.begin(), seen.end(), false) == seen.end();
            }
        }
        // The full redraw after the dialog shows the plain heap until the first frame.
        unexpected = FirstBoardDifference(plain, shown, &position);
        return !unexpected.empty();
    });
    if (!unexpected.empty() || std::find(seen.begin(), seen.end(), false) != seen.end()) {
        Fail("with smoldering heaps the board showed neither the plain heap nor a smoldering "
             "frame on cell (%ld, %ld) (%s), or not every frame",
             heap.x, heap.y, unexpected.c_str());
    }

    ToggleSmoldering(game, "off");
    resumed.WaitForBoardAfter(resumed.resumed, "after smoldering heaps were turned off");
    // Long enough for several frames, had the heap gone on smoldering.
    const double off = NowMs();
    while (NowMs() - off < 4 * kSmolderFrameMs) {
        const std::string difference = FirstBoardDifference(plain, game.Capture(), &position);
        if (!difference.empty()) {
            Fail("after smoldering heaps were turned off the board changed: %s",
                 difference.c_str());
        }
    }

    ToggleSmoldering(game, "on again");
    EnsureNumLockOn();
    game.Command(NumericPadKey(resumed.moves[resumed.resumed]), kNoModifiers, "the fatal step");
    const double lastInput = NowMs();
    const RECT heapCell = Scene::CellArea(heap.x, heap.y, kCellPixels);
    const Picture demo =
        ComposeBoard(RecordedGame(context, "demo").PositionAfter(0), resumed.sheet);
    Picture heapShown;
    int heapChanges = 0;
    if (!WaitUntil([&] {
            const Picture shown = game.Capture();
            const Picture heapNow = Crop(shown, heapCell);
            heapChanges += heapNow == heapShown ? 0 : 1;
            heapShown = heapNow;
            return FirstBoardDifference(demo, shown).empty();
        })) {
        Fail("the demo did not start after the game ended with smoldering heaps");
    }
    const double quietMs = NowMs() - lastInput;
    if (quietMs < kQuietSecondsBeforeTheDemoMs - 500 || heapChanges < 3) {
        Fail("the demo started %.1f s after the last input instead of after eleven quiet seconds, "
             "while the heap changed %d times",
             quietMs / 1000, heapChanges);
    }
}
