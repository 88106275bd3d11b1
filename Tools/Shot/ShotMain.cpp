// clankmere-shot PATH\Clankmere.exe OUT.bmp
// Starts the game in its folder, answers the note it shows at a first start, waits until its
// picture is steady and saves the window's client area (board and status line) as a 24-bit BMP
// file. Used to show the game on a machine without a screen.
#include "Automation.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: clankmere-shot PATH\\Clankmere.exe OUT.bmp\n");
        return 2;
    }
    try {
        const std::string program = argv[1];
        Game game(program, program.substr(0, program.find_last_of('\\')));
        SavePicture(WaitForSteadyPicture(game.WaitForMainWindowPastNotes()), argv[2]);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "clankmere-shot: %s\n", failure.what());
        return 1;
    }
    return 0;
}
