// The menu bar: its texts, the Sound check mark, and the action items that are gray while no
// game is in progress, after a death that leaves its last frame on the board and its record,
// which the replay tool for Windows players replays.
#include "Scenario.h"

#include <algorithm>
#include <cstdio>

namespace {

// The menu bar's titles and its items' identifiers and texts, "|" for a separator, with nothing
// gray and only Sound checked ("+"), as during a game with the default preferences.
constexpr char kMenusInGame[] =
    "[&File: 40037 &New Game\tCtrl+N 40061 Save &Animation... | 1001 E&xit\tCtrl+Q]"
    "[&Game: 40013 Use &Screwdriver\tS 40012 &Teleport\tT | 40014 &Last Stand\tL 40015 Last "
    "Stand Minus &1\t1 40016 Last Stand Minus &2\t2 | 40070 &Where Could I Have Survived? | "
    "40017 Toggle &Grid\tG 40022 Toggle "
    "&Color\tC +40033 Soun&d | 40018 Advanced &Options...\tO 40039 Show &High Scores 40035 "
    "Clear High Scores]"
    "[&Help: 40036 &How to Play...\tF1 40055 &About Clankmere...]";
// Teleport, Use Screwdriver and the three Last Stand items.
constexpr int kActionItems[] = {40012, 40013, 40014, 40015, 40016};
constexpr int kLostMomentItem = 40070;
// Longer than the eleven quiet seconds after which a finished game gives way to the demo.
constexpr DWORD kQuietSpellMs = 13000;

// The menu bar as kMenusInGame shows it; a gray item is marked "-" (it may be disabled as well)
// and one disabled without being gray "!".
std::string MenuTexts(const std::vector<Menu>& menus) {
    std::string texts;
    for (const Menu& menu : menus) {
        texts += "[" + menu.title + ":";
        for (const MenuItem& item : menu.items) {
            const char* state = item.grayed ? "-" : item.disabled ? "!" : "";
            texts += item.separator ? std::string(" |")
                                    : Format(" %s%s%d %s", state, item.checked ? "+" : "", item.id,
                                             item.text.c_str());
        }
        texts += "]";
    }
    return texts;
}

// Save Animation... is gray only while the board shows no action, Where Could I Have
// Survived? whenever the action items are not.
void WaitForMenus(Game& game, bool actionsGray, bool animationGray, const char* when) {
    std::string expected = kMenusInGame;
    for (const int id : kActionItems) {
        const size_t at = expected.find(Format(" %d ", id));
        expected.insert(at + 1, actionsGray ? "-" : "");
    }
    expected.insert(expected.find(Format(" %d ", kLostMomentItem)) + 1, actionsGray ? "" : "-");
    expected.insert(expected.find(" 40061 ") + 1, animationGray ? "-" : "");
    std::string texts;
    E2E_CHECK(WaitUntil([&] { return (texts = MenuTexts(game.Probe().ReadMenus())) == expected; }),
              "%s the menu bar is %s instead of %s", when, texts.c_str(), expected.c_str());
}

} // namespace

E2E_TEST(menus_death_frame_and_replay_tool_follow_the_end_of_the_game) {
    // The played move of this record steps into a robot.
    ResumedGame resumed(context, "game-over");
    Game& game = resumed.game;
    WaitForMenus(game, false, false, "during the resumed game with default preferences");

    const size_t step = resumed.resumed;
    const Position position = resumed.recorded.PositionAfter(step);
    const POINT player = PlayerCell(position);
    const POINT killer = StepTarget(player, resumed.moves[step]);
    EnsureNumLockOn();
    game.Command(NumericPadKey(resumed.moves[step]), kNoModifiers, "the fatal step");

    // The death scene: arrows hidden, the killer shown exploding, the player dying (the last
    // frame also onto the canvas), the killer drawn again over its own cell only. The canvas
    // holds the background and the heaps; erasing copies it onto the back buffer.
    Position heaps = position;
    for (auto& row : heaps.cells) {
        std::replace(row, row + kColumns, '1', '.');
        std::replace(row, row + kColumns, 'A', '.');
    }
    const Picture canvas = ComposeBoard(heaps, resumed.sheet);
    Picture back = ComposeBoard(position, resumed.sheet);
    // The canvas holds no key colour: it covers the cell whole.
    const auto erase = [&](POINT cell, int height) {
        DrawSprite(back, canvas, {{cell.x * kCellPixels, cell.y * kCellPixels}, height},
                   cell.x * kCellPixels, cell.y * kCellPixels);
    };
    const auto draw = [&](const Sprite& sprite, POINT cell) {
        DrawSprite(back, resumed.sheet, sprite, cell.x * kCellPixels, cell.y * kCellPixels);
    };
    for (const POINT arrow : ArrowCells(position)) {
        erase(arrow, kCellPixels);
    }
    erase(killer, kFrameHeight);
    draw(ExplosionFrame(0), killer);
    erase(player, kFrameHeight);
    draw(DeathFrame(kLastDeathFrame), player);
    erase(killer, kCellPixels);
    draw(kRobotSprite, killer);
    WaitForFinalPicture(game, back,
                        Format("after the death at cell (%ld, %ld), which must keep the last death "
                               "frame",
                               player.x, player.y));
    WaitForMenus(game, true, false, "once the game is over");

    game.Command('N', kCtrl, "Ctrl+N");
    WaitForMenus(game, false, true, "after Ctrl+N");

    // The tool replays the record from its Windows path with blanks and its CR LF lines, and
    // prints what the native tool prints, in CR LF lines.
    const std::string lastGame = DataFilePath("Last Game.txt");
    CheckSameGame(lastGame, resumed.recorded.Record(), "\"Last Game.txt\"");
    // cmd /c takes the whole line in one more pair of quotes.
    const std::string tool = context.installDir + "\\clankmere-replay.exe";
    FILE* pipe = _popen(("\"\"" + tool + "\" \"" + lastGame + "\"\"").c_str(), "rb");
    E2E_CHECK(pipe, "cannot run %s", tool.c_str());
    std::string printed;
    for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) {
        printed += static_cast<char>(c);
    }
    _pclose(pipe);
    std::string expected;
    for (const char c : ReadFileBytes(
             Format("%s\\game-over.%zu.board", context.gamesDir.c_str(), resumed.moves.size()))) {
        expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    E2E_CHECK(!expected.empty() && printed == expected,
              "clankmere-replay.exe printed\n%s\nnot the native tool's\n%s", printed.c_str(),
              expected.c_str());
}

// Game > Where Could I Have Survived? shows the position before the fatal wait of this record,
// with the arrows of the three steps that would have survived it, and the teleport's, the
// screwdriver's and the Last Stand's verdicts, as the replay tool explains them; the quiet spell
// after which a finished game gives way to the demo leaves it on the board. A key (also one of a
// command), a click or Alt brings back the final position, death frame included, and does
// nothing else, but that Alt still opens the menus; Ctrl+N and File > New Game start a new game.
E2E_TEST(lost_moment_shows_what_would_have_survived_until_the_player_moves_on) {
    // A list the game's 40 points do not enter.
    std::string scores;
    for (int rank = 0; rank < 10; ++rank) {
        scores += "9000\tTester\t2\t1000000\r\r\n";
    }
    WriteFileBytes(DataFilePath("High Scores.txt"), scores);
    const struct {
        const char* way;
        void (*leave)(Game& game, POINT arrow);
        bool newGame;
        bool menusOpen;
    } ways[] = {
        // G would toggle the grid.
        {"G", [](Game& game, POINT) { game.Press('G'); }, false, false},
        {"a click on an arrow", [](Game&, POINT arrow) { ClickAt(arrow); }, false, false},
        {"Alt", [](Game& game, POINT) { game.Press(VK_MENU); }, false, true},
        // Ctrl held since before the view came: only the N reaches the game.
        {"Ctrl+N",
         [](Game& game, POINT) {
             game.Probe().LeaveKeyDown(VK_CONTROL);
             game.Press('N');
             PressKey(VK_CONTROL);
         },
         true, false},
        {"File > New Game",
         [](Game& game, POINT) {
             game.Press('F', kAlt);
             game.Press('N');
         },
         true, false},
    };
    EnsureNumLockOn();
    std::optional<ResumedGame> resumed;
    bool ended = false;
    Picture final;
    for (const auto& way : ways) {
        if (!ended) {
            if (resumed) {
                QuitWithQ(resumed->game);
            }
            resumed.emplace(context, "lost-moment");
            resumed->game.Command(NumericPadKey(resumed->moves[resumed->resumed]), kNoModifiers,
                                  "the fatal wait");
            final = WaitForSteadyPicture(resumed->game.FindMainWindow());
            ended = true;
        }
        Game& game = resumed->game;
        const std::string when = Format("in the lost moment before %s", way.way);
        const Position before =
            ShowLostMoment(game, resumed->recorded, resumed->resumed, resumed->sheet, when);
        if (&way == ways) {
            const Picture moment = game.Capture();
            E2E_CHECK(!WaitUntil([&] { return !(game.Capture() == moment); }, kQuietSpellMs),
                      "the lost moment left the board within the quiet spell before the demo");
        }
        way.leave(game, game.CellOnScreen(StepTarget(PlayerCell(before), '3')));
        const std::string after = Format("after %s in the lost moment", way.way);
        if (way.newGame) {
            game.WaitForStatusLine(kNewGameStatusLine, after);
            ended = false;
            continue;
        }
        E2E_CHECK(WaitUntil([&] { return game.Capture() == final; }) &&
                      WaitForSteadyPicture(game.FindMainWindow()) == final,
                  "%s the final position did not come back pixel for pixel", after.c_str());
        if (way.menusOpen) {
            PressKey('G');
            const std::string whenG = after + " G";
            E2E_CHECK(
                MenuTexts({game.WaitForOpenMenu(whenG)}).find(Format("%d ", kLostMomentItem)) !=
                    std::string::npos,
                "%s opened another menu than Game", whenG.c_str());
            PressKey(VK_ESCAPE);
            PressKey(VK_ESCAPE);
            game.WaitForMenuClosed(after + " Esc");
        }
    }
    QuitWithQ(resumed->game);
}

// Sound, the grid style and the sprite set, changed by the menu and the keys, are stored at quit
// and shown again at the next start. On the way every grid style is drawn with every sprite set
// from the art files: the second set fills the board white without wallpaper, the others light
// green under it.
E2E_TEST(sound_grid_and_sprite_set_survive_quit_and_start) {
    // The move after this length destroys robots.
    const RecordedGame recorded(context, "resume");
    const size_t length = recorded.FirstPlayedMove() + 1;
    StoreDefaultPreferences();
    WriteGameRecord(DataFilePath("Saved Game.txt"), recorded.Prefix(length));
    const Picture wallpaper = InstalledArt(context, "Wallpaper.bmp", 0);
    const Picture grid = InstalledArt(context, "GridIcons.bmp", IDB_GRID_ICONS);
    constexpr uint32_t kWhite = Rgb(255, 255, 255);
    const Backdrop coloured = {kBackgroundColor, &wallpaper, &grid};
    const struct {
        const char* name;
        Picture sheet;
        Backdrop backdrop;
    } sets[] = {
        {"the first sprite set", InstalledArt(context, "GameIcons 1.bmp", IDB_GAME_ICONS),
         coloured},
        {"the second sprite set",
         InstalledArt(context, "GameIcons 2.bmp", IDB_GAME_ICONS),
         {kWhite, nullptr, &grid}},
        {"the third sprite set", InstalledArt(context, "GameIcons 3.bmp", IDB_GAME_ICONS),
         coloured},
    };
    const auto checkShown = [&](Game& game, const auto& set, int style, const std::string& when,
                                size_t moves) {
        Backdrop backdrop = set.backdrop;
        backdrop.gridStyle = style;
        game.WaitForBoard(recorded.PositionAfter(moves), set.sheet,
                          Format("%s with %s", when.c_str(), set.name), {}, backdrop);
        // Under a black line.
        const Picture shown = game.Capture();
        const uint32_t line = shown.At(kClientWidth / 2, kBoardHeight);
        const uint32_t strip = shown.At(2, kBoardHeight + 8);
        E2E_CHECK(strip == set.backdrop.fill && line == 0,
                  "%s with %s the status strip is %s under a line of %s instead of %s under black",
                  when.c_str(), set.name, DescribeColor(strip).c_str(), DescribeColor(line).c_str(),
                  DescribeColor(set.backdrop.fill).c_str());
    };
    // The menu bar shows Game > Sound without its check mark.
    const auto soundUnchecked = [](Game& game) {
        const std::string texts = MenuTexts(game.Probe().ReadMenus());
        return texts.find(Format(" %d Soun&d", IDM_SOUND)) != std::string::npos;
    };
    constexpr int kStoredStyle = 3;
    {
        Game game(context);
        for (const auto& set : sets) {
            if (&set != sets) {
                game.Command('C', kNoModifiers, "C");
            }
            checkShown(game, set, 0, "at first", length);
            for (int press = 1; press <= 6; ++press) {
                game.Command('G', kNoModifiers, "G");
                checkShown(game, set, press % 6, Format("after G pressed %d times", press), length);
            }
        }
        game.Command('C', kNoModifiers, "C");
        checkShown(game, sets[0], 0, "after C with the last set", length);
        game.Command('C', kNoModifiers, "C");
        for (int press = 0; press < kStoredStyle; ++press) {
            game.Command('G', kNoModifiers, "G");
        }
        game.SendPromptly(WM_COMMAND, IDM_SOUND, 0);
        E2E_CHECK(soundUnchecked(game), "Game > Sound left its item checked");
        QuitWithQ(game);
    }
    PreferencesRecord expected = DefaultPreferences();
    PutFields(expected, {{"m_soundOn", 0}, {"m_gridStyle", kStoredStyle}, {"m_iconSet", 1}});
    CheckStoredPreferences(expected, "after Sound, G, C and Q", 0, kSettingsSize);
    Game again(context);
    checkShown(again, sets[1], kStoredStyle, "at the next start", length);
    E2E_CHECK(soundUnchecked(again), "at the next start Game > Sound is checked");
    EnsureNumLockOn();
    again.Command(NumericPadKey(recorded.Record().moves[length]), kNoModifiers, "the next move");
    checkShown(again, sets[1], kStoredStyle, "after the next move", length + 1);
}

// What a setting or the end of the game turns off does not happen: with the movement arrows off,
// clicks on a free neighbour and on the player do nothing (the game goes on with only the step
// pressed after them); with Sound off, a step whose robots collide and a teleport play nothing;
// once the game is over, a teleport, the screwdriver, a Last Stand and a step play nothing after
// the death's sound.
E2E_TEST(what_is_turned_off_does_not_happen) {
    const struct {
        const char* record;
        const char* setting;
        int control; // turned off in Advanced Options before the clicks
        const char* moves;
        bool goesOn;
        LONG sounds;
    } cases[] = {
        {"mouse", nullptr, IDC_SHOW_ARROWS, "6", true, -1},
        {"explosion", "m_soundOn", 0, "8T", true, 0},
        {"game-over", nullptr, 0, "4TSL6", false, 1},
    };
    EnsureNumLockOn();
    for (const auto& off : cases) {
        PreferencesRecord preferences = DefaultPreferences();
        PutFields(preferences, off.setting ? Settings{{off.setting, 0}} : Settings{});
        ResumedGame resumed(context, off.record, {}, &preferences);
        const ProbeShared& seen = resumed.game.Probe().Seen();
        if (off.control) {
            resumed.game.ToggleAdvancedOption(off.control);
            const Position before = resumed.recorded.PositionAfter(resumed.resumed);
            ClickAt(resumed.game.CellOnScreen(ArrowCells(before).front()));
            ClickAt(resumed.game.CellOnScreen(PlayerCell(before)));
        }
        // The actions come as their menu commands: a key of a gray item sends nothing.
        for (const char* move = off.moves; *move; ++move) {
            if (*move >= '1' && *move <= '9') {
                resumed.game.Command(NumericPadKey(*move), kNoModifiers, Format("%c", *move));
            } else {
                resumed.game.SendPromptly(WM_COMMAND,
                                          *move == 'T'   ? IDM_TELEPORT
                                          : *move == 'S' ? IDM_SCREWDRIVER
                                                         : IDM_LAST_STAND,
                                          0);
            }
        }
        E2E_CHECK(off.sounds < 0 || seen.sounds == off.sounds, "%s: %ld sounds, not %ld (\"%s\")",
                  off.record, seen.sounds, off.sounds, seen.lastSound);
        QuitWithQ(resumed.game);
        GameRecord expected = resumed.recorded.Prefix(resumed.resumed);
        expected.moves += off.moves;
        if (off.goesOn) {
            CheckSameGame(DataFilePath("Saved Game.txt"), expected,
                          Format("%s's saved game", off.record));
        }
    }
}
