// Clankmere9x.exe, the build for Windows 95 and 98, run while Wine reports Windows 98: what
// sets it apart from Clankmere.exe. It stays in the folder it was started in (Clankmere.exe
// moves to its own folder when "Graphics" is not where it starts) and keeps its data there,
// refuses actions without beeps, waits for input without raw input, and plays its own demo.
#include "Scenario.h"

namespace {

constexpr DWORD kStandardIdleWakeMask = 0x4BF;
constexpr DWORD kWin9xIdleWakeMask = 0xBF;

} // namespace

// Both programs start in a folder without "Graphics": Clankmere.exe moves to its own folder,
// Clankmere9x.exe stays there and keeps its data in "Clankmere" there. Each finds its saved game
// whole under the temporary name, as a crash in the middle of a replace leaves it, and a cut
// high-score list there, which it leaves alone. On Windows 98 a file is replaced by removing the
// old one first, elsewhere in one step that reaches the disk before it returns; either way the
// new file is flushed to the disk before.
E2E_TEST(win9x_flavour_keeps_its_data_in_the_start_folder_and_refuses_silently) {
    // The screwdriver is spent: S is refused.
    const RecordedGame recorded(context, "screwdriver-used");
    const size_t length = recorded.Record().moves.size();
    const Position position = recorded.PositionAfter(length);
    const std::string start =
        context.installDir.substr(0, context.installDir.find_last_of('\\')) + "\\start";
    CreateDirectoryA(start.c_str(), nullptr);
    CreateDirectoryA((start + "\\Clankmere").c_str(), nullptr);
    const std::string program = PrepareWin9x(context);
    const struct {
        const char* name;
        std::string program;
        std::string workFolder;
        std::string savedGame;
        std::string highScores;
        bool win9x;
        DWORD idleWakeMask;
    } flavours[] = {
        {"Clankmere9x.exe", program, start, start + "\\Clankmere\\Saved Game.txt",
         start + "\\Clankmere\\High Scores.txt", true, kWin9xIdleWakeMask},
        {"Clankmere.exe", context.gamePath, context.installDir, DataFilePath("Saved Game.txt"),
         DataFilePath("High Scores.txt"), false, kStandardIdleWakeMask},
    };
    for (const auto& flavour : flavours) {
        const char* name = flavour.name;
        WriteGameRecord(flavour.savedGame + ".new", recorded.Prefix(length));
        WriteFileBytes(flavour.highScores + ".new", "9000\tAce\t3\t1\r\r\n");
        Game game(flavour.program, start);
        const Picture sheet = LoadSpriteSheet(context.installDir, flavour.program);
        const CellsFrom cells = flavour.win9x ? kCellsWine98Shows : CellsFrom{};
        game.WaitForBoard(position, sheet, Format("%s resumed", name), cells);
        const ProbeShared& seen = game.Probe().Seen();
        E2E_CHECK(lstrcmpiA(seen.currentDirectory, flavour.workFolder.c_str()) == 0,
                  "%s works in %s instead of %s", name, seen.currentDirectory,
                  flavour.workFolder.c_str());
        E2E_CHECK(!FileExists(flavour.savedGame) && !FileExists(flavour.savedGame + ".new"),
                  "%s resumed %s.new but left it in place", name, flavour.savedGame.c_str());
        E2E_CHECK(WaitUntil([&] { return seen.idleWakeMask != 0; }),
                  "%s never waited for input for a second", name);
        const LONG mark = game.Probe().CommandsDone();
        game.Press('S');
        game.CheckOnlyCommandSince(mark, IDM_SCREWDRIVER, Format("S in %s", name));
        game.WaitForBoard(position, sheet, Format("%s after the refused S", name), cells);
        const LONG expectedBeeps = flavour.win9x ? 0 : 1;
        E2E_CHECK(seen.messageBeeps == expectedBeeps && seen.refusalTones == seen.messageBeepsDone,
                  "%s refused S with %ld MessageBeep calls (%ld of them done) and %ld tones of "
                  "750 Hz, instead of %ld and a tone for each done",
                  name, seen.messageBeeps, seen.messageBeepsDone, seen.refusalTones, expectedBeeps);
        E2E_CHECK(static_cast<DWORD>(seen.idleWakeMask) == flavour.idleWakeMask,
                  "%s waits while idle for the input mask 0x%lX instead of 0x%lX", name,
                  seen.idleWakeMask, flavour.idleWakeMask);
        E2E_CHECK(!flavour.win9x || (seen.wakeMasks & QS_RAWINPUT) == 0,
                  "%s waited for raw input (masks 0x%lX)", name, seen.wakeMasks);
        if (flavour.win9x) {
            const LONG beforeBox = game.Probe().CommandsDone();
            game.Press(VK_OEM_PLUS);
            const MessageBoxSeen box = game.WaitForMessageBox("after =");
            E2E_CHECK(box.text.rfind("Microsoft Windows 98", 0) == 0,
                      "Clankmere9x.exe runs on \"%s\" instead of Windows 98", box.text.c_str());
            game.Dismiss(box);
            // The command drops the keys typed meanwhile when it ends.
            game.CheckOnlyCommandSince(beforeBox, IDM_PLATFORM, "=");
        }
        QuitWithQ(game);
        const LONG moves = seen.replacingMoves + seen.plainMoves;
        E2E_CHECK(moves == 1 && seen.fileFlushes == moves &&
                      (flavour.win9x ? seen.plainMoves == 1
                                     : seen.replacingMoveFlags ==
                                           (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)),
                  "%s saved its game at quit with %ld calls of MoveFileEx (flags 0x%lX), %ld of "
                  "MoveFile and %ld flushes, instead of one %s after a flush",
                  name, seen.replacingMoves, seen.replacingMoveFlags, seen.plainMoves,
                  seen.fileFlushes,
                  flavour.win9x ? "MoveFile" : "MoveFileEx replacing and writing through");
        E2E_CHECK(!FileExists(flavour.highScores) && FileExists(flavour.highScores + ".new"),
                  "%s took a cut \"High Scores.txt.new\" for its list", name);
        const std::optional<GameRecord> saved = ReadGameRecord(flavour.savedGame);
        E2E_CHECK(saved && saved->moves == recorded.Record().moves,
                  "after Q %s left %s with the moves \"%s\" instead of \"%s\"", name,
                  flavour.savedGame.c_str(), saved ? saved->moves.c_str() : "(no file)",
                  recorded.Record().moves.c_str());
        E2E_CHECK(!flavour.win9x || !FileExists(DataFilePath("Saved Game.txt")),
                  "Clankmere9x.exe saved its game in the per-user folder");
    }
}

E2E_TEST(win9x_flavour_plays_its_own_demo) {
    const RecordedGame demo(context, "demo-9x");
    const std::string program = PrepareWin9x(context);
    Game game(program, context.installDir);
    const Picture sheet = LoadSpriteSheet(context.installDir, program);
    game.WaitForBoard(demo.PositionAfter(0), sheet, "eleven quiet seconds after the start",
                      kCellsWine98Shows);
    game.WaitForBoard(demo.PositionAfter(3), sheet, "three moves into the demo", kCellsWine98Shows);
    // The demo on the board saves as a picture, through the dialog of those systems, which adds
    // the extension to a name typed without one.
    SaveAnimationThroughMenu(game, context.installDir + "\\demo", "during the demo");
    const std::string gif = context.installDir + "\\demo.gif";
    std::string bytes;
    E2E_CHECK(WaitUntil([&] {
                  bytes = ReadFileBytes(gif);
                  return bytes.size() > 6 && bytes.compare(0, 6, "GIF89a") == 0 &&
                         bytes.back() == ';';
              }),
              "Save Animation... during the demo wrote no whole GIF (%zu bytes)", bytes.size());
}

// Clankmere9x.exe shows where a game was lost and watches a listed game, with its records in the
// start folder: the qualifying game ends, its moment shows the steps that would have survived,
// and with a new game under way the game's row, double-clicked, plays to the board the game
// ended on; Esc brings back the new game.
E2E_TEST(win9x_flavour_shows_where_a_game_was_lost_and_watches_it) {
    const RecordedGame recorded(context, "lost-moment");
    const size_t fatal = recorded.FirstPlayedMove();
    const std::string program = PrepareWin9x(context);
    CreateDirectoryA((context.installDir + "\\Clankmere").c_str(), nullptr);
    WriteGameRecord(context.installDir + "\\Clankmere\\Saved Game.txt", recorded.Prefix(fatal));
    Game game(program, context.installDir);
    const Picture sheet = LoadSpriteSheet(context.installDir, program);
    game.WaitForBoard(recorded.PositionAfter(fatal), sheet, "resumed", kCellsWine98Shows);
    // The status line's texts count from the probe's loading on.
    game.Probe();
    const Picture ended = EnterOfferedName(game, recorded.Record().moves[fatal]);

    ShowLostMoment(game, recorded, fatal, sheet, "in the lost moment", kCellsWine98Shows);

    game.Press('N', kCtrl);
    game.WaitForStatusLine(kNewGameStatusLine, "after Ctrl+N");
    const Picture fresh = WaitForSteadyPicture(game.FindMainWindow());
    WatchRankTen(game, false);
    TypeText("+++");
    game.WaitForStatusLineStarting(std::string(kWatchingRankTen) +
                                       " - fastest - the game has ended",
                                   "once the watched game has played on", 3 * kPatienceMs);
    std::string difference = FirstBoardDifference(
        ended, WaitForSteadyPicture(game.FindMainWindow()), nullptr, kCellsWine98Shows);
    E2E_CHECK(difference.empty(), "the watched game ends on another board than the game did: %s",
              difference.c_str());
    game.Press(VK_ESCAPE);
    game.WaitForStatusLine(kNewGameStatusLine, "after Esc stopped watching");
    difference = FirstBoardDifference(fresh, WaitForSteadyPicture(game.FindMainWindow()), nullptr,
                                      kCellsWine98Shows);
    E2E_CHECK(difference.empty(), "after Esc stopped watching the new game is not back: %s",
              difference.c_str());
    QuitWithQ(game);
}
