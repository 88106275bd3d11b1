// clankmere-startup-timer PROGRAM
// Starts the program, prints how many milliseconds passed until its main window was shown and
// until its first frame was on the screen, then closes it. A frame counts as presented once
// the window's client area is no longer one plain colour (the window class's background).
// Runs under Wine beside the program; it measures, it never judges.
#include "Automation.h"

#include <algorithm>
#include <cstdio>

namespace {

bool ShowsAFrame(const Picture& client) {
    return std::any_of(client.pixels.begin(), client.pixels.end(),
                       [&](uint32_t pixel) { return pixel != client.pixels.front(); });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: clankmere-startup-timer PROGRAM\n");
        return 2;
    }
    try {
        const std::string program = argv[1];
        const double start = NowMs();
        Game game(program, program.substr(0, program.find_last_of('\\')));
        constexpr DWORD kPollMs = 1;
        WaitUntil([&] { return IsWindowVisible(game.FindMainWindow()); }, kPatienceMs, kPollMs);
        const HWND window = game.WaitForMainWindow();
        const double windowMs = NowMs() - start;
        double frameMs = 0;
        if (!WaitUntil(
                [&] {
                    frameMs = NowMs() - start;
                    return ShowsAFrame(CaptureClient(window));
                },
                kPatienceMs, kPollMs)) {
            Fail("no frame within %lu ms", kPatienceMs);
        }
        std::printf("window %.0f ms, first frame %.0f ms\n", windowMs, frameMs);
        PostMessageA(window, WM_CLOSE, 0, 0);
        game.WaitForExit("after WM_CLOSE");
    } catch (const Failure& failure) {
        std::fprintf(stderr, "clankmere-startup-timer: %s\n", failure.what());
        return 1;
    }
    return 0;
}
