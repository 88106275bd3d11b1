// The replay tool's GIF of a game against the game itself: the last frame, as a decoder that is
// not ours shows it, holds the board that the game shows for the same record and settings; and
// the game draws that board once, when its replay has ended; and the GIFs that the game saves
// itself, of the game under way and of a listed game, are the tool's byte for byte.
#include "Scenario.h"

#include <fstream>

namespace {

// "Clankmere <score> <yyyy-mm-dd>.gif" in the saved-games folder, dated today.
std::string SuggestedAnimationPath(long score) {
    SYSTEMTIME today = {};
    GetLocalTime(&today);
    return DataFilePath(Format("Saved Games\\Clankmere %ld %04u-%02u-%02u.gif", score, today.wYear,
                               today.wMonth, today.wDay));
}

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
        // File > Save Animation...: into a folder that cannot be written, which a note tells,
        // then under the name it suggests.
        if (!row.settings) {
            SaveAnimationThroughMenu(game, "Z:\\proc\\game.gif", "into /proc");
            game.Answer("Message", "The animation could not be written to Z:\\proc\\game.gif.",
                        "after File > Save Animation... into a folder that cannot be written");
        }
        SaveAnimationThroughMenu(game, "", "under its suggested name");
        const RecordedGame recorded(context, "resume");
        const long score = recorded.PositionAfter(recorded.Record().moves.size()).score;
        const std::string saved = SuggestedAnimationPath(score);
        WaitForSameBytes(saved, context.gamesDir + "\\resume" + suffix + ".gif",
                         Format("with %s, the game's GIF against the replay tool's", row.what));
        DeleteFileA(saved.c_str());
        QuitWithQ(game);
    }
}

// A row's menu in the High Scores list saves the listed game under the standard settings it was
// played under, in the live sprite set and grid style: the replay tool's GIF of the record with
// those settings; and watching the row ends on that GIF's last frame.
E2E_TEST(high_scores_row_menu_saves_the_listed_games_animation) {
    const std::string bytes = ReadFileBytes(context.gamesDir + "\\bright-grid-3.prefs");
    PreferencesRecord live(bytes.begin(), bytes.end());
    PutField(live, "m_robotsBase", 3);
    StorePreferences(live);
    // resume.txt, listed at rank 1 as a game that ended about a minute after its start; rank 2
    // has no record.
    const GameRecord listed = RecordedGame(context, "resume").Record();
    std::ofstream(DataFilePath("High Scores.txt"), std::ios::binary)
        << "9000\tTester\t2\t" << listed.startTime / 60 + 1 << "\r\r\n8000\tNobody\t2\t"
        << listed.startTime / 60 + 2 << "\r\r\n";
    CreateDirectoryA(DataFilePath("High Score Games").c_str(), nullptr);
    std::ofstream(DataFilePath(Format("High Score Games\\hs%lu.txt", listed.startTime)),
                  std::ios::binary)
        << "Time:\t" << listed.startTime << "\r\nScore:\t9000\r\nPlatform:\tx\r\nMoves:\t"
        << listed.moves << "\r\n";
    Game game(context);
    game.WaitForMainWindow();
    game.SendPromptly(WM_COMMAND, IDM_SHOW_HIGH_SCORES, 0);
    const HWND list = WaitForHighScoresWindow("after Show High Scores");
    BringToFront(list, "the High Scores window");
    for (const int rank : {2, 1}) {
        RightClickAt(HighScoresRowPoint(list, rank));
        const Menu menu = game.WaitForOpenMenu(Format("after a right-click on rank %d", rank));
        const MenuItem& item = menu.items.at(0);
        E2E_CHECK(item.id == IDM_SAVE_ANIMATION && item.grayed == (rank == 2),
                  "the menu of rank %d offers %d \"%s\"%s", rank, item.id, item.text.c_str(),
                  item.grayed ? ", gray" : "");
        if (rank == 2) {
            PressKey(VK_ESCAPE);
            game.WaitForMenuClosed("after Esc on the menu of rank 2");
        }
    }
    PressKey('A');
    // A name without an extension takes the dialog's default one.
    game.ChooseFile(DataFilePath("listed"), "the row's Save Animation...");
    WaitForSameBytes(DataFilePath("listed.gif"), context.gamesDir + "\\resume-bright-grid-3.gif",
                     "the listed game's GIF against the replay tool's under the standard settings "
                     "in sprite set 3 and grid style 3");
    // Watched, the listed game ends on the last frame of that GIF.
    DoubleClickAt(HighScoresRowPoint(list, 1));
    game.WaitForStatusLine("centre Watching Tester: 9000", "after a double-click on rank 1");
    for (int faster = 0; faster < 3; ++faster) {
        game.SendPromptly(WM_COMMAND, IDM_WATCH_FASTER, 0);
    }
    game.WaitForStatusLineStarting("centre Watching Tester: 9000 - fastest - the game has ended",
                                   "once rank 1 has been watched");
    WaitForFinalPicture(
        game,
        LoadBitmapPicture(context.gamesDir + "\\resume-bright-grid-3.gif-last.bmp", "", 0,
                          kClientWidth, kClientHeight),
        "rank 1 watched in sprite set 3 and grid style 3 against the last frame of its GIF");
    QuitWithQ(game);
}

} // namespace
