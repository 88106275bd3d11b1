// The replay tool's GIF of a game against the game itself: the last frame, as a decoder that is
// not ours shows it, holds the board that the game shows for the same record.
#include "Scenario.h"

namespace {

// run.sh leaves "<games>\resume.gif-last.bmp": the last frame of the GIF that the installed
// clankmere-replay.exe makes of resume.txt with the Graphics folder beside it, as Pillow
// decodes it.
E2E_TEST(gif_of_a_record_ends_on_the_board_the_game_shows_for_it) {
    const std::string lastFrame = context.gamesDir + "\\resume.gif-last.bmp";
    E2E_CHECK(FileExists(lastFrame), "%s is missing (Tests/E2E/run.sh makes it)",
              lastFrame.c_str());
    const Picture expected = LoadBitmapPicture(lastFrame, "", 0, kClientWidth, kClientHeight);
    Game game(context);
    game.WaitForMainWindowPastNotes();
    game.Press('O', kCtrl);
    game.ChooseFile(context.gamesDir + "\\resume.txt", "Ctrl+O");
    WaitForFinalPicture(game, expected,
                        "resume.txt opened with Ctrl+O, against the last frame of its GIF");
}

} // namespace
