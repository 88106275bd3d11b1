// The replay tool's GIF of a game against the game itself: the last frame, as a decoder that is
// not ours shows it, holds the board that the game shows for the same record and settings; and
// the game draws that board once, when its replay has ended.
#include "Scenario.h"

namespace {

// run.sh leaves "<games>\resume.gif-last.bmp" and "<games>\resume-<settings>.gif-last.bmp":
// the last frame of the GIF that the installed clankmere-replay.exe makes of resume.txt with
// the Graphics folder beside it (and --prefs <settings>.prefs), as Pillow decodes it.
E2E_TEST(gif_of_a_record_ends_on_the_board_the_game_shows_for_it) {
    const struct {
        const char* settings; // a file of Tests/E2E/Games, or null for the defaults
        const char* what;
    } cases[] = {
        {nullptr, "the default settings: sprite set 1, no grid, wallpaper"},
        {"bright-grid-3", "sprite set 3 and grid style 3 over the wallpaper"},
        {"plain-grid-1", "the plain sprite set 2 (white, no wallpaper) and grid style 1"},
    };
    for (const auto& row : cases) {
        const std::string suffix = row.settings ? std::string("-") + row.settings : "";
        const std::string lastFrame = context.gamesDir + "\\resume" + suffix + ".gif-last.bmp";
        E2E_CHECK(FileExists(lastFrame), "%s is missing (Tests/E2E/run.sh makes it)",
                  lastFrame.c_str());
        const Picture expected = LoadBitmapPicture(lastFrame, "", 0, kClientWidth, kClientHeight);
        if (row.settings) {
            const std::string bytes =
                ReadFileBytes(context.gamesDir + "\\" + row.settings + ".prefs");
            StorePreferences(PreferencesRecord(bytes.begin(), bytes.end()));
        }
        // A fresh game at each start: opening a record ends the game under way, and the one
        // the last quit saved would ask a name for the high scores.
        DeleteFileA(DataFilePath("Saved Game.txt").c_str());
        Game game(context);
        game.WaitForMainWindowPastNotes();
        const LONG beforeOpen = game.Probe().CommandsDone();
        const LONG validatedBefore = game.Probe().Seen().rectsValidated;
        game.Press('O', kCtrl);
        game.ChooseFile(context.gamesDir + "\\resume.txt", "Ctrl+O");
        WaitForFinalPicture(game, expected,
                            Format("with %s, resume.txt opened with Ctrl+O against the last "
                                   "frame of its GIF",
                                   row.what));
        // The replay crosses the record's level unseen: a board is drawn whole at its first
        // level and once the replay has ended, whatever the levels between.
        game.CheckOnlyCommandSince(beforeOpen, IDM_OPEN_GAME, "Ctrl+O");
        const LONG validated = game.Probe().Seen().rectsValidated - validatedBefore;
        E2E_CHECK(validated == 2, "with %s, opening resume.txt drew %ld whole boards instead of 2",
                  row.what, validated);
        QuitWithQ(game);
    }
}

} // namespace
