// Clankmere9x.exe, the build for Windows 95 and 98, run while Wine reports Windows 98: what
// sets it apart from Clankmere.exe. It stays in the folder it was started in (Clankmere.exe
// moves to its own folder when "Graphics" is not where it starts) and keeps its data there,
// refuses actions without beeps, waits for input without raw input, and plays its own demo.
#include "Game.h"

namespace {

constexpr int kScrewdriverCommand = 40013;
constexpr DWORD kStandardIdleWakeMask = 0x4BF;
constexpr DWORD kWin9xIdleWakeMask = 0xBF;
// As Windows 98, Wine clips what DirectDraw presents to the window as if its frame were
// larger: the leftmost 4 and topmost 42 pixels of the client area stay blank. The boards of
// that program are compared right and below of them.
constexpr CellsFrom kCellsWine98Shows = {1, 3};

std::string ParentOf(const std::string& path) {
    return path.substr(0, path.find_last_of("\\/"));
}

std::string Win9xProgram(const TestContext& context) {
    return context.installDir + "\\Clankmere9x.exe";
}

void ReportWindows98ToWin9xProgram() {
    StoreReportedVersion("Clankmere9x.exe", "win98");
}

// The saved game that Clankmere9x.exe started in `startDir` resumes.
std::string Win9xSavedGame(const std::string& startDir) {
    const std::string folder = startDir + "\\Clankmere";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\Saved Game.txt";
}

void CheckCurrentDirectory(Game& game, const std::string& expected, const char* program) {
    const std::string current = game.Probe().Seen().currentDirectory;
    if (lstrcmpiA(current.c_str(), expected.c_str()) != 0) {
        Fail("%s works in %s instead of %s", program, current.c_str(), expected.c_str());
    }
}

void CheckSavedMoves(const std::string& path, const std::string& moves, const char* program) {
    const std::optional<GameRecord> saved = ReadGameRecord(path);
    if (!saved || saved->moves != moves) {
        Fail("after Q %s left %s with the moves \"%s\" instead of \"%s\"", program, path.c_str(),
             saved ? saved->moves.c_str() : "(no file)", moves.c_str());
    }
}

} // namespace

E2E_TEST(win9x_flavour_keeps_its_data_in_the_start_folder_and_stays_there) {
    const std::string start = ParentOf(context.installDir) + "\\start";
    CreateDirectoryA(start.c_str(), nullptr);
    StoreDefaultPreferences();
    // Clankmere.exe started in a folder without "Graphics" moves to its own folder.
    {
        Game game(context.gamePath, start);
        CheckCurrentDirectory(game, context.installDir, "Clankmere.exe");
        game.Press('Q');
        CheckQuitCode(game, "Q");
    }

    // Clankmere9x.exe stays where it was started, and keeps its data in "Clankmere" there.
    const RecordedGame recorded(context, "resume");
    const std::string& moves = recorded.Record().moves;
    ReportWindows98ToWin9xProgram();
    const std::string savedGame = Win9xSavedGame(start);
    WriteGameRecord(savedGame, recorded.Prefix(moves.size()));
    DeleteFileA((context.installDir + "\\Graphics\\Wallpaper.bmp").c_str());
    const std::string program = Win9xProgram(context);
    Game game(program, start);
    game.WaitForBoard(recorded.PositionAfter(moves.size()),
                      LoadSpriteSheet(context.installDir, program), "Clankmere9x.exe resumed",
                      kCellsWine98Shows);
    CheckCurrentDirectory(game, start, "Clankmere9x.exe");
    if (FileExists(savedGame)) {
        Fail("Clankmere9x.exe resumed %s but left it in place", savedGame.c_str());
    }
    game.Press(VK_OEM_PLUS);
    const MessageBoxSeen box = game.WaitForMessageBox("after =");
    if (box.text.rfind("Microsoft Windows 98", 0) != 0) {
        Fail("Clankmere9x.exe runs on \"%s\" instead of Windows 98", box.text.c_str());
    }
    game.Dismiss(box);
    game.Press('Q');
    CheckQuitCode(game, "Q");
    CheckSavedMoves(savedGame, moves, "Clankmere9x.exe");
    if (FileExists(DataFilePath("Saved Game.txt"))) {
        Fail("Clankmere9x.exe saved its game in the per-user folder");
    }
}

E2E_TEST(win9x_flavour_refuses_silently_and_waits_without_raw_input) {
    // The screwdriver is spent: S is refused.
    const RecordedGame recorded(context, "screwdriver-used");
    const size_t length = recorded.Record().moves.size();
    const Position position = recorded.PositionAfter(length);
    ReportWindows98ToWin9xProgram();
    const struct {
        std::string program;
        std::string savedGame;
        bool beeps;
        DWORD idleWakeMask;
    } flavours[] = {
        {context.gamePath, DataFilePath("Saved Game.txt"), true, kStandardIdleWakeMask},
        {Win9xProgram(context), Win9xSavedGame(context.installDir), false, kWin9xIdleWakeMask},
    };
    for (const auto& flavour : flavours) {
        const char* name = flavour.beeps ? "Clankmere.exe" : "Clankmere9x.exe";
        PrepareResume(context, recorded, length);
        WriteGameRecord(flavour.savedGame, recorded.Prefix(length));
        Game game(flavour.program, context.installDir);
        const Picture sheet = LoadSpriteSheet(context.installDir, flavour.program);
        const CellsFrom cells = flavour.beeps ? CellsFrom{} : kCellsWine98Shows;
        game.WaitForBoard(position, sheet, Format("%s resumed", name), cells);
        const ProbeShared& seen = game.Probe().Seen();
        if (!WaitUntil([&] { return seen.idleWakeMask != 0; })) {
            Fail("%s never waited for input for a second", name);
        }
        const LONG mark = game.Probe().CommandsDone();
        game.Press('S');
        game.CheckOnlyCommandSince(mark, kScrewdriverCommand, Format("S in %s", name));
        game.WaitForBoard(position, sheet, Format("%s after the refused S", name), cells);
        const LONG expectedBeeps = flavour.beeps ? 1 : 0;
        if (seen.messageBeeps != expectedBeeps || seen.refusalTones != seen.messageBeepsDone) {
            Fail("%s refused S with %ld MessageBeep calls (%ld of them done) and %ld tones of "
                 "750 Hz, instead of %ld and a tone for each done",
                 name, seen.messageBeeps, seen.messageBeepsDone, seen.refusalTones, expectedBeeps);
        }
        if (static_cast<DWORD>(seen.idleWakeMask) != flavour.idleWakeMask) {
            Fail("%s waits while idle for the input mask 0x%lX instead of 0x%lX", name,
                 seen.idleWakeMask, flavour.idleWakeMask);
        }
        if (!flavour.beeps && (seen.wakeMasks & QS_RAWINPUT) != 0) {
            Fail("%s waited for raw input (masks 0x%lX)", name, seen.wakeMasks);
        }
        game.Press('Q');
        CheckQuitCode(game, Format("Q in %s", name));
    }
}

E2E_TEST(win9x_flavour_plays_its_own_demo) {
    const RecordedGame demo(context, "demo-9x");
    DeleteFileA((context.installDir + "\\Graphics\\Wallpaper.bmp").c_str());
    StoreDefaultPreferences();
    ReportWindows98ToWin9xProgram();
    const std::string program = Win9xProgram(context);
    Game game(program, context.installDir);
    const Picture sheet = LoadSpriteSheet(context.installDir, program);
    game.WaitForBoard(demo.PositionAfter(0), sheet, "eleven quiet seconds after the start",
                      kCellsWine98Shows);
    game.WaitForBoard(demo.PositionAfter(3), sheet, "three moves into the demo", kCellsWine98Shows);
}
