// Records and high scores: the game saved at quit, at the session's end and in a data folder
// named in any script, and resumed at the next start; New Game, Save and Open (an opened game
// sounding only its last action); a qualifying score with the name dialog and the High Scores
// window, the high-score file read back at the next start; and the system's description in the
// "=" box and the records.
#include "Scenario.h"

#include <algorithm>
#include <cstdlib>
#include <regex>

namespace {

// Where the High Scores window is moved to, on the screen, and where it must come back.
constexpr POINT kListPlace = {230, 170};

void CheckListPlace(const char* when) {
    const RECT frame = WindowRect(FindWindowA("High Scores", nullptr));
    E2E_CHECK(frame.left == kListPlace.x && frame.top == kListPlace.y,
              "%s the High Scores window stands at (%ld, %ld) instead of (%ld, %ld)", when,
              frame.left, frame.top, kListPlace.x, kListPlace.y);
}

} // namespace

// Under changed rules the score is refused with a note. Then the name dialog takes the first 30
// characters of a name typed longer; the name, and the list window's place, are stored at quit;
// Clear High Scores empties the list for good.
E2E_TEST(qualifying_score_asks_the_name_and_lists_it) {
    {
        // Two screwdrivers a game: a changed rule that this game, one screwdriver a level, never
        // uses.
        PreferencesRecord changed = DefaultPreferences();
        PutField(changed, "m_screwdriversPerGame", 2);
        ResumedGame resumed(context, "high-score", {}, &changed);
        EnsureNumLockOn();
        const LONG beforeFatalWait = resumed.game.Probe().CommandsDone();
        resumed.game.Press(NumericPadKey(resumed.moves[resumed.resumed]));
        resumed.game.Answer("Message",
                            "Nice score, but it is not eligible for the High Scores list because "
                            "some gameplay settings have been changed using the Advanced Options "
                            "window.",
                            "after the fatal wait under changed rules");
        // The command drops the keys typed before it has ended.
        resumed.game.CheckOnlyCommandSince(beforeFatalWait, IDM_WAIT,
                                           "the fatal wait under changed rules");
        QuitWithQ(resumed.game);
        E2E_CHECK(!FileExists(DataFilePath("High Scores.txt")),
                  "the refused score was written to \"High Scores.txt\"");
    }
    const char* const typedName = "Ada Lovelace and Charles Babbage";
    const std::string name = std::string(typedName).substr(0, 30);
    Picture listed;
    {
        ResumedGame resumed(context, "high-score");
        Game& game = resumed.game;
        EnsureNumLockOn();
        // The list, open before the game ends, shows the new score.
        game.SendPromptly(WM_COMMAND, IDM_SHOW_HIGH_SCORES, 0);
        CaptureList("before the fatal wait");
        const LONG beforeFatalWait = game.Probe().CommandsDone();
        game.Press(NumericPadKey(resumed.moves[resumed.resumed]));
        const MessageBoxSeen dialog = game.WaitForMessageBox("after the fatal wait");
        const HWND edit = GetDlgItem(dialog.window, IDC_PLAYER_NAME);
        const std::string offered = TextOf(edit);
        const DWORD selection = static_cast<DWORD>(SendMessageA(edit, EM_GETSEL, 0, 0));
        E2E_CHECK(dialog.caption == "Hi Score" && offered == "Blimpers" &&
                      selection == static_cast<DWORD>(MAKELONG(0, offered.size())),
                  "the dialog \"%s\" offers \"%s\" with characters %u to %u selected, instead of "
                  "\"Hi Score\" offering the default name all selected",
                  dialog.caption.c_str(), offered.c_str(), LOWORD(selection), HIWORD(selection));
        BringToFront(dialog.window, "the name dialog");
        TypeText(typedName);
        PressKey(VK_RETURN);
        const Picture shown = CaptureList("after the name was entered");
        CheckRowBackground(shown, 9, kHighlight, "with the new score,");
        const std::string row = RowTexts(game, 9);
        E2E_CHECK(
            std::regex_match(row, std::regex("40 \\| " + name +
                                             " \\(1\\) \\| Today, [01][0-9]:[0-5][0-9] [AP]M")),
            "rank 10 of the list says \"%s\" instead of the score, the name with level 1 "
            "and the time today",
            row.c_str());
        CheckRowBackground(shown, 8, kHighScoresBackground, "with the new score,");
        // On disk at once, as the list is cleared below: a game killed now keeps them.
        CheckHighScoresFile(DataFilePath("High Scores.txt"), name);
        // Keys pressed before the wait has ended would be dropped with the others typed during
        // an action.
        game.CheckOnlyCommandSince(beforeFatalWait, IDM_WAIT, "the fatal wait");
        // A new game ends the highlight; the list reopened shows the table plainly.
        game.Command('N', kCtrl, "Ctrl+N");
        const HWND list = FindWindowA("High Scores", nullptr);
        SetWindowPos(list, nullptr, kListPlace.x, kListPlace.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PostMessageA(list, WM_CLOSE, 0, 0);
        E2E_CHECK(WaitUntil([&] { return !IsWindow(list); }),
                  "the High Scores window did not close");
        game.SendPromptly(WM_COMMAND, IDM_SHOW_HIGH_SCORES, 0);
        listed = CaptureList("reopened");
        CheckListPlace("reopened");
        CheckRowBackground(listed, 9, kHighScoresBackground, "after a new game,");
        QuitWithQ(game);
    }
    PreferencesRecord expected = DefaultPreferences();
    PutPlayerName(expected, name.c_str());
    CheckStoredPreferences(expected, "after the name was entered and Q", 0, kSettingsSize);
    Game game(context);
    game.WaitForMainWindow();
    game.SendPromptly(WM_COMMAND, IDM_SHOW_HIGH_SCORES, 0);
    E2E_CHECK(WithoutLastDate(CaptureList("at the next start")) == WithoutLastDate(listed),
              "the list read back at the next start differs from the one written");
    CheckListPlace("at the next start");
    // Cancel keeps the list, OK clears it.
    for (const bool ok : {false, true}) {
        const char* when =
            ok ? "after OK to Clear High Scores" : "after Cancel to Clear High Scores";
        const MenuDialog question = game.OpenFromMenu(IDM_CLEAR_HIGH_SCORES, "Message");
        if (ok) {
            game.Answer("Message", "Are you sure you want to reset the High Score list?", when);
        } else {
            Click(question.window, IDCANCEL);
        }
        game.WaitForCommandEnd(question, when);
        E2E_CHECK(
            (ReadFileBytes(DataFilePath("High Scores.txt")).find(name) == std::string::npos) == ok,
            "%s \"High Scores.txt\" %s %s", when, ok ? "still lists" : "no longer lists",
            name.c_str());
        // Over the main window, which the box's end brought forward.
        game.SendPromptly(WM_COMMAND, IDM_SHOW_HIGH_SCORES, 0);
        E2E_CHECK((WithoutLastDate(CaptureList(when)) == WithoutLastDate(listed)) != ok,
                  "%s the list %s the new score", when, ok ? "still shows" : "no longer shows");
    }
    // The list still open at quit stores its place as well.
    const POINT lastPlace = {kListPlace.x + 40, kListPlace.y + 30};
    SetWindowPos(FindWindowA("High Scores", nullptr), nullptr, lastPlace.x, lastPlace.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    game.Press('Q', kCtrl);
    CheckQuitCode(game, "Ctrl+Q (File > Exit)");
    const RECT work = WorkArea();
    const RECT stored = GetPlacement(ReadStoredRecord("after Ctrl+Q with the list open"),
                                     kHighScoresPlacementOffset)
                            .rcNormalPosition;
    E2E_CHECK(stored.left + work.left == lastPlace.x && stored.top + work.top == lastPlace.y,
              "quitting with the list open stored its place as (%ld, %ld) instead of (%ld, %ld)",
              stored.left + work.left, stored.top + work.top, lastPlace.x, lastPlace.y);
}

// teleport.txt plays one teleport, after a collision; its 20 points do not enter the list, so
// New Game asks for no name. N alone and Shift+T do nothing.
E2E_TEST(plain_t_teleports_and_save_new_game_and_open_restore_it_with_one_sound) {
    ResumedGame resumed(context, "teleport");
    Game& game = resumed.game;
    const GameRecord& record = resumed.recorded.Record();
    const LONG mark = game.Probe().CommandsDone();
    game.Press('N');
    game.Press('T', kShift);
    game.Command('T', kNoModifiers, "T");
    game.CheckOnlyCommandSince(mark, IDM_TELEPORT, "N, Shift+T, then T");
    resumed.WaitForBoardAfter(record.moves.size(), "after N, Shift+T and T (one teleport only)");
    const std::string lastGame = DataFilePath("Last Game.txt");
    E2E_CHECK(!FileExists(lastGame), "N alone ended the game: \"Last Game.txt\" exists");

    const std::string folder = "C:\\records";
    CreateDirectoryA(folder.c_str(), nullptr);
    game.Press('S', kCtrl);
    game.ChooseFile(folder + "\\MY.GAME.TXT", "Ctrl+S");
    // The name the folder holds the file under, with its case.
    WIN32_FIND_DATAA stored = {};
    WaitUntil([&] {
        const HANDLE search = FindFirstFileA((folder + "\\MY.GAME.TXT").c_str(), &stored);
        return search != INVALID_HANDLE_VALUE && FindClose(search);
    });
    E2E_CHECK(std::string(stored.cFileName) == "MY.GAME.txt",
              "Save stored \"%s\" instead of \"MY.GAME.txt\"", stored.cFileName);
    const std::string path = folder + "\\MY.GAME.txt";
    CheckSameGame(path, record, "the saved file");
    char location[MAX_PATH] = {};
    DWORD size = sizeof location;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Clankmere\\Preferences", "Saved Games Location",
                 RRF_RT_REG_SZ, nullptr, location, &size);
    E2E_CHECK(path == location, "\"Saved Games Location\" is \"%s\" instead of \"%s\"", location,
              path.c_str());

    game.Command('N', kCtrl, "Ctrl+N");
    game.WaitForStatusLine("left Score: 0 / right Screwdrivers: 1 / centre Level: 1",
                           "after Ctrl+N");
    CheckSameGame(lastGame, record, "\"Last Game.txt\"");
    // Each sound cuts off the one before, so of the replayed collision and teleport only the
    // teleport's would be heard: opening the game plays that one alone, once.
    const ProbeShared& seen = game.Probe().Seen();
    const LONG soundsBefore = seen.sounds;
    const LONG beforeOpen = game.Probe().CommandsDone();
    game.Press('O', kCtrl);
    game.ChooseFile("", "Ctrl+O");
    game.CheckOnlyCommandSince(beforeOpen, IDM_OPEN_GAME, "Ctrl+O");
    resumed.WaitForBoardAfter(record.moves.size(), "after opening the saved file");
    game.WaitForStatusLine(StatusLineOf(resumed.recorded.PositionAfter(record.moves.size())),
                           "after opening the saved file");
    E2E_CHECK(seen.sounds - soundsBefore == 1 &&
                  std::string(seen.lastSound) == "Sounds\\Teleport.wav",
              "opening the game played %ld sounds, the last \"%s\", instead of the teleport's once",
              seen.sounds - soundsBefore, seen.lastSound);
    E2E_CHECK(seen.soundsWaitedFor == 0, "the game waited for %ld sounds", seen.soundsWaitedFor);
    game.Command('N', kCtrl, "Ctrl+N");
    QuitWithQ(game);
    E2E_CHECK(!FileExists(DataFilePath("Saved Game.txt")),
              "quitting the new game before its first move wrote \"Saved Game.txt\"");
}

// The texts follow what Wine 8 reports for a 64-bit program: no workstation word on x64, and
// Windows 10 without a compatibility manifest reports 6.2.9200 with an unknown edition. Each
// start resumes the game that the quit before saved; the first plays its last move.
E2E_TEST(quit_saves_the_game_for_the_next_start_naming_the_reported_windows) {
    // As Windows 98, Wine leaves the leftmost and topmost pixels of the board blank.
    const struct {
        const char* version;
        const char* description;
        CellsFrom shown;
    } systems[] = {
        {"win10", "Newer than Windows 7  (Build 9200)", {}},
        {"winxp", "Microsoft Windows XP Service Pack 3 (Build 2600)", {}},
        {"win98", "Microsoft Windows 98 SE ", kCellsWine98Shows},
    };
    const RecordedGame recorded(context, "resume");
    const size_t length = recorded.Record().moves.size();
    const Picture sheet = SpriteSheetOf(context);
    const std::string saved = DataFilePath("Saved Game.txt");
    PrepareResume(context, recorded, length - 1);
    for (const auto& system : systems) {
        const bool first = &system == systems;
        StoreReportedVersion("Clankmere.exe", system.version);
        Game game(context);
        game.WaitForBoard(recorded.PositionAfter(first ? length - 1 : length), sheet,
                          Format("resuming as %s", system.version), system.shown);
        E2E_CHECK(!FileExists(saved), "\"Saved Game.txt\" is still there after it was resumed");
        if (first) {
            EnsureNumLockOn();
            game.Command(NumericPadKey(recorded.Record().moves.back()), kNoModifiers,
                         "the last move");
            game.WaitForBoard(recorded.PositionAfter(length), sheet, "after the last move");
        }
        const LONG beforeBox = game.Probe().CommandsDone();
        game.Press(VK_OEM_PLUS);
        game.Answer("Message", system.description, Format("after = as %s", system.version));
        // The command drops the keys typed meanwhile when it ends.
        game.CheckOnlyCommandSince(beforeBox, IDM_PLATFORM, "=");
        QuitWithQ(game);
        CheckSameGame(saved, recorded.Record(), "\"Saved Game.txt\"");
        const std::string bytes = ReadFileBytes(saved);
        E2E_CHECK(bytes.find(Format("\r\nPlatform:\t%s\r\n", system.description)) != bytes.npos,
                  "as %s \"Saved Game.txt\" has no line \"Platform:\t%s\": %s", system.version,
                  system.description, bytes.c_str());
    }
}

// Log-off and shutdown, with a profile folder named outside the ANSI code page: the saved game
// is found there, Save writes there and suggests next what it wrote, and the game is saved there
// again when the session ends, after an Alt+Tab that left Alt down in the game's key state. Wine
// sends the messages Windows sends at log-off and ends the process as soon as the game has
// answered them.
E2E_TEST(session_end_saves_the_game_in_a_data_folder_named_in_any_script) {
    const RecordedGame recorded(context, "resume");
    const size_t resumed = recorded.FirstPlayedMove();
    const Picture sheet = SpriteSheetOf(context);
    PrepareResume(context, recorded, resumed);
    // The application data folder named in Cyrillic and Chinese, as on a Western system whose
    // user is named in those scripts, with a path of few characters but more than 260 bytes in
    // UTF-8; the saved game that PrepareResume wrote is moved there.
    wchar_t profile[MAX_PATH] = {};
    GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
    std::wstring appData = std::wstring(profile) + L"\\Данные 数据";
    bool made = CreateDirectoryW(appData.c_str(), nullptr);
    // Two folders of 120 bytes each: a Linux file name takes at most 255.
    for (int folder = 0; folder < 2; ++folder) {
        appData += L"\\";
        for (int i = 0; i < 20; ++i) {
            appData += L"数据";
        }
        made = made && CreateDirectoryW(appData.c_str(), nullptr);
    }
    const std::wstring data = appData + L"\\Clankmere";
    const std::string oldSavedGame = DataFilePath("Saved Game.txt");
    E2E_CHECK(made && CreateDirectoryW(data.c_str(), nullptr) &&
                  MoveFileW(std::wstring(oldSavedGame.begin(), oldSavedGame.end()).c_str(),
                            (data + L"\\Saved Game.txt").c_str()) &&
                  RegSetKeyValueW(
                      HKEY_CURRENT_USER,
                      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                      L"AppData", REG_EXPAND_SZ, appData.c_str(),
                      DWORD((appData.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS,
              "cannot move the application data folder to one named in Cyrillic and Chinese");
    {
        Game game(context);
        game.WaitForBoard(recorded.PositionAfter(resumed), sheet, "resuming from that folder");
        // A name typed in the folder suggested first; then the dialog suggests that file.
        const std::wstring chosen = data + L"\\Saved Games\\chosen.txt";
        game.Press('S', kCtrl);
        game.ChooseFile("chosen.txt", "the first Ctrl+S");
        E2E_CHECK(WaitUntil([&] { return FileExists(chosen); }),
                  "Ctrl+S saved no \"chosen.txt\" in the folder it suggested");
        DeleteFileW(chosen.c_str());
        game.Press('S', kCtrl);
        game.ChooseFile("", "the second Ctrl+S");
        E2E_CHECK(WaitUntil([&] { return FileExists(chosen); }),
                  "the second Ctrl+S did not suggest the file chosen with the first");
        EnsureNumLockOn();
        game.Command(NumericPadKey(recorded.Record().moves[resumed]), kNoModifiers, "a move");
        game.Probe().LeaveAltDown();
        E2E_CHECK(std::system("wineboot.exe --end-session") == 0, "wineboot --end-session failed");
        game.WaitForExit("after the session ended");
    }
    const PreferencesRecord stored = ReadStoredRecord("after the session ended");
    E2E_CHECK(GetPlacement(stored, kMainWindowPlacementOffset).length != 0,
              "the session's end stored no preferences with the window's placement");
    E2E_CHECK(FileExists(data + L"\\Saved Game.txt"),
              "the session's end saved no \"Saved Game.txt\" in the folder named in Cyrillic and "
              "Chinese");
    Game next(context);
    next.WaitForBoard(recorded.PositionAfter(resumed + 1), sheet,
                      "at the start after the session ended");
}

// The session ends while the name dialog is open: the score is listed under the name typed so
// far, with the game's record, and the game is written as "Last Game.txt".
E2E_TEST(session_end_during_the_name_dialog_keeps_the_score_and_the_last_game) {
    const RecordedGame recorded(context, "high-score");
    const size_t fatal = recorded.FirstPlayedMove();
    PrepareResume(context, recorded, fatal);
    {
        Game game(context);
        game.WaitForMainWindow();
        EnsureNumLockOn();
        game.Press(NumericPadKey(recorded.Record().moves[fatal]));
        const MessageBoxSeen dialog = game.WaitForMessageBox("after the fatal move");
        BringToFront(dialog.window, "the name dialog");
        TypeText("Ada");
        // The session's messages are sent, and would overtake the keys still queued.
        const HWND edit = GetDlgItem(dialog.window, IDC_PLAYER_NAME);
        E2E_CHECK(WaitUntil([&] { return TextOf(edit) == "Ada"; }),
                  "the name dialog shows \"%s\" after \"Ada\" was typed", TextOf(edit).c_str());
        E2E_CHECK(std::system("wineboot.exe --end-session") == 0, "wineboot --end-session failed");
        game.WaitForExit("after the session ended");
    }
    CheckHighScoresFile(DataFilePath("High Scores.txt"), "Ada");
    CheckSameGame(DataFilePath("High Score Games\\hs1700000000.txt"), recorded.Record(),
                  "the listed game's record");
    CheckSameGame(DataFilePath("Last Game.txt"), recorded.Record(), "\"Last Game.txt\"");
}

// Another program holding a file open a moment delays a write; a Save that cannot be done says
// so, while the writes of their own (the last game, the game saved at quit) stay silent and keep
// the older files.
E2E_TEST(held_and_unwritable_files_are_retried_and_only_a_failed_save_is_reported) {
    ResumedGame resumed(context, "teleport");
    Game& game = resumed.game;
    const GameRecord record = resumed.recorded.Prefix(resumed.resumed);
    const std::string folder = "C:\\records";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string older = "an older file";
    const struct {
        const char* what;
        std::string path;
        bool held;
        DWORD releasedAfterMs;
    } targets[] = {
        {"a file held open for half a second", folder + "\\held a moment.txt", true, 500},
        {"a file held open", folder + "\\held.txt", true, INFINITE},
        {"a folder that cannot be written", "Z:\\proc\\game.txt", false, INFINITE},
    };
    for (const auto& target : targets) {
        std::optional<HeldFile> held;
        if (target.held) {
            WriteFileBytes(target.path, older);
            held.emplace(target.path);
        }
        const LONG mark = game.Probe().CommandsDone();
        game.Press('S', kCtrl);
        game.ChooseFile(target.path, "Ctrl+S");
        if (target.releasedAfterMs != INFINITE) {
            Sleep(target.releasedAfterMs);
            held->Release();
            game.CheckOnlyCommandSince(mark, IDM_SAVE_GAME, Format("Ctrl+S to %s", target.what));
            CheckSameGame(target.path, record, Format("Ctrl+S to %s", target.what));
            continue;
        }
        game.Answer("Message",
                    "The game could not be saved to \"" + target.path +
                        "\". The file may be read-only or open in another program, or the folder "
                        "may not accept new files.",
                    Format("Ctrl+S to %s", target.what));
        held.reset();
        E2E_CHECK(!target.held || ReadFileBytes(target.path) == older,
                  "the failed Save to %s changed it", target.what);
        E2E_CHECK(!FileExists(target.path + ".new"), "the failed Save to %s left \"%s.new\"",
                  target.what, target.path.c_str());
    }
    const std::string ownFiles[] = {DataFilePath("Last Game.txt"), DataFilePath("Saved Game.txt")};
    std::vector<std::unique_ptr<HeldFile>> held;
    for (const std::string& path : ownFiles) {
        WriteFileBytes(path, older);
        held.push_back(std::make_unique<HeldFile>(path));
    }
    game.Command('N', kCtrl, "Ctrl+N over a held \"Last Game.txt\"");
    game.Command(VK_SPACE, kNoModifiers, "Space");
    QuitWithQ(game);
    held.clear();
    for (const std::string& path : ownFiles) {
        E2E_CHECK(ReadFileBytes(path) == older && !FileExists(path + ".new"),
                  "writing %s while it was held changed it or left its temporary file",
                  path.c_str());
    }
}
