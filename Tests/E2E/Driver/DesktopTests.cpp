// What a real desktop does to the program that a plain test display does not: surfaces taken
// away in the middle of a game, also by a change of the display mode, monitors of other dots per
// inch, damaged image files, a 16-bit screen, and a file dialog that moves the current folder.
#include "Scenario.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <utility>

namespace {

// The display mode a projector brings.
void SwitchTo800By600() {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = 800;
    mode.dmPelsHeight = 600;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    E2E_CHECK(ChangeDisplaySettingsA(&mode, 0) == DISP_CHANGE_SUCCESSFUL,
              "Wine did not change the display mode to 800 x 600");
}

// The test-only switch of the game's Windows layer: with it, the message blanks every surface
// and makes a present report them lost, as a display mode change does on Windows (Wine keeps a
// window's surfaces through ChangeDisplaySettings). Its first parameter says how; the second's
// low byte what else goes wrong on the way back, and the bits above it how many presents go well
// before the loss.
constexpr char kSurfaceLossSwitch[] = "CLANKMERE_TEST_SURFACE_LOSS";
constexpr UINT kLoseSurfacesMessage = WM_APP;
enum SurfaceLoss : WPARAM {
    kSurfacesLost = 0,
    // From then on every present of that display finds its surfaces lost.
    kModeChangedAtRestore = 1,
    kModeChangedAtCooperativeTest = 2,
};
enum RecoveryFault : LPARAM {
    kNoFault = 0,
    kLostAgainInRedraw = 1,
    kRebuildFails = 2,
    // Plus the picture: k for sprite set k + 1, kGridPicture, kWallpaperPicture.
    kPictureFails = 3,
};
constexpr LPARAM kGridPicture = 10;
constexpr LPARAM kWallpaperPicture = 11;

LPARAM PresentsBefore(size_t presents) {
    return static_cast<LPARAM>(presents) << 8;
}

void RepaintWholly(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    E2E_CHECK(WaitUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); }),
              "the window was not repainted");
}

SIZE SizeOf(const RECT& rect) {
    return {rect.right - rect.left, rect.bottom - rect.top};
}

constexpr const char* kImageFiles[] = {"GameIcons 1.bmp", "GameIcons 2.bmp", "GameIcons 3.bmp",
                                       "GridIcons.bmp", "Wallpaper.bmp"};
constexpr int kBitmapHeadersSize = 14 + 40;

// The installation's files are hard links shared with other tests: a file is replaced, never
// written in place.
std::string Replaced(const Installation& installation, const std::string& file) {
    const std::string path = installation.installDir + "\\Graphics\\" + file;
    DeleteFileA(path.c_str());
    return path;
}

// The first moves of resume.txt resumed at 192 dots per inch.
ResumedGame ResumedAt192Dpi(const Installation& installation) {
    StoreScreenDpi(kDoubleDpi);
    return ResumedGame(installation, "resume");
}

// Its window, shown doubled.
HWND DoubledWindow(Game& game) {
    const HWND window = game.WaitForMainWindow();
    CheckClientSize(window, kClientWidth * 2, kClientHeight * 2, "at 192 dpi");
    return window;
}

} // namespace

// Each kind of loss, and each thing that can go wrong on the way back, meets the first frame of
// a step, under every option that brings a picture of its own; the option's picture is the one
// that fails to load. The board comes back whole after each, pixel for pixel.
E2E_TEST(every_picture_comes_back_after_each_kind_of_lost_display) {
    const RecordedGame recorded(context, "numeric-pad");
    const size_t at = recorded.FirstPlayedMove();
    const Picture wallpaper = InstalledArt(context, "Wallpaper.bmp", 0);
    const Picture grid = InstalledArt(context, "GridIcons.bmp", IDB_GRID_ICONS);
    const Picture sheets[] = {InstalledArt(context, "GameIcons 1.bmp", IDB_GAME_ICONS),
                              InstalledArt(context, "GameIcons 2.bmp", IDB_GAME_ICONS),
                              InstalledArt(context, "GameIcons 3.bmp", IDB_GAME_ICONS)};
    // Those with the wallpaper first: the others remove it.
    const struct {
        const char* name;
        int gridStyle;
        int set;
        bool wallpaper;
        DWORD dpi;
        LPARAM picture;
    } options[] = {
        {"grid style 1 over the wallpaper", 1, 0, true, 96, kWallpaperPicture},
        {"sprite set 3 and grid style 2 over the wallpaper", 2, 2, true, 96, 2},
        {"the plain scheme and grid style 3", 3, 1, true, 96, kGridPicture},
        {"grid style 4 without wallpaper", 4, 0, false, 96, kGridPicture},
        {"grid style 5 at scale 2", 5, 0, false, kDoubleDpi, 0},
    };
    const struct {
        SurfaceLoss loss;
        RecoveryFault fault;
        const char* what;
    } losses[] = {
        {kSurfacesLost, kNoFault, "lost surfaces"},
        {kModeChangedAtRestore, kNoFault, "a display mode change that the restore finds"},
        {kModeChangedAtCooperativeTest, kNoFault,
         "a display mode change that the cooperative test finds"},
        {kSurfacesLost, kLostAgainInRedraw, "surfaces lost again during the recovery's redraw"},
        {kSurfacesLost, kPictureFails, "lost surfaces and the option's picture failing once"},
        {kModeChangedAtRestore, kRebuildFails, "a display mode change and a failed rebuild"},
    };
    SetEnvironmentVariableA(kSurfaceLossSwitch, "1");
    EnsureNumLockOn();
    for (const auto& option : options) {
        if (!option.wallpaper) {
            Replaced(context, "Wallpaper.bmp");
        }
        StoreScreenDpi(option.dpi);
        PreferencesRecord preferences = DefaultPreferences();
        PutFields(preferences, {{"m_gridStyle", option.gridStyle}, {"m_iconSet", option.set}});
        StorePreferences(preferences);
        WriteGameRecord(DataFilePath("Saved Game.txt"), recorded.Prefix(at));
        const bool plain = option.set == 1;
        const Backdrop backdrop = {plain ? Rgb(255, 255, 255) : kBackgroundColor,
                                   option.wallpaper && !plain ? &wallpaper : nullptr, &grid,
                                   option.gridStyle};
        const Picture& sheet = sheets[option.set];
        Game game(context);
        game.WaitForBoard(recorded.PositionAfter(at), sheet,
                          Format("with %s after resuming", option.name), {}, backdrop);
        const HWND window = game.WaitForMainWindow();
        size_t played = at;
        for (const auto& loss : losses) {
            const LPARAM fault =
                loss.fault == kPictureFails ? kPictureFails + option.picture : loss.fault;
            PostMessageA(window, kLoseSurfacesMessage, loss.loss, fault);
            const char move = recorded.Record().moves[played++];
            game.Command(NumericPadKey(move), kNoModifiers, Format("numeric-pad %c", move));
            game.WaitForBoard(recorded.PositionAfter(played), sheet,
                              Format("with %s after a step that met %s", option.name, loss.what),
                              {}, backdrop);
        }
        // After a repaint without a loss the frame shows and nothing erases it.
        RepaintWholly(window);
        game.WaitForBoard(recorded.PositionAfter(played), sheet,
                          Format("with %s after a repaint", option.name), {}, backdrop);
        QuitWithQ(game);
    }
}

// The display lost in the middle of the screwdriver's and the explosions' frames, and made again
// without its surfaces: nothing draws on the missing canvas, the action keeps its time, and the
// display comes back with the board after the action.
E2E_TEST(display_that_cannot_be_made_again_mid_action_keeps_the_game) {
    SetEnvironmentVariableA(kSurfaceLossSwitch, "1");
    // The presents before the action's frame: the status line and the arrows hidden before the
    // screwdriver, each robot it destroys; the arrows, the step and the robots' steps before the
    // explosions.
    const struct {
        const char* record;
        size_t (*presentsBefore)(const Position& before);
    } actions[] = {
        {"screwdriver",
         [](const Position& before) {
             const POINT player = PlayerCell(before);
             const size_t robots = CellsWhere([&](POINT cell) {
                                       return before.At(cell.x, cell.y) == '1' &&
                                              std::abs(cell.x - player.x) <= 1 &&
                                              std::abs(cell.y - player.y) <= 1;
                                   }).size();
             return 1 + ArrowCells(before).size() + robots;
         }},
        {"explosion", [](const Position& before) { return ArrowCells(before).size() + 16 + 16; }},
    };
    for (const auto& action : actions) {
        ResumedGame resumed(context, action.record);
        const HWND window = resumed.game.WaitForMainWindow();
        const size_t presents =
            action.presentsBefore(resumed.recorded.PositionAfter(resumed.resumed));
        PostMessageA(window, kLoseSurfacesMessage, kModeChangedAtRestore,
                     kRebuildFails | PresentsBefore(presents));
        const char move = resumed.moves[resumed.resumed];
        resumed.game.Command(move == 'S' ? 'S' : NumericPadKey(move), kNoModifiers,
                             Format("%c", move));
        resumed.WaitForBoardAfter(
            resumed.resumed + 1,
            Format("after the %s met a display that could not be made again", action.record));
        QuitWithQ(resumed.game);
    }
}

// A display mode change to 800 x 600 pixels at 192 dots per inch, as a projector brings: the
// display made again shows the frame at the scale that the smaller screen holds. Made again while
// the window is minimised, it leaves the window where the system parked it, and the window comes
// back at its place with the size of scale 1. A minimised window is not repainted: the present
// that meets the loss is asked for from inside.
E2E_TEST(display_made_again_for_a_smaller_screen_at_192_dpi_fits_scale_1_also_when_minimised) {
    SetEnvironmentVariableA(kSurfaceLossSwitch, "1");
    ResumedGame resumed = ResumedAt192Dpi(context);
    Game& game = resumed.game;
    const HWND window = DoubledWindow(game);
    SwitchTo800By600();
    PostMessageA(window, kLoseSurfacesMessage, kModeChangedAtCooperativeTest, 0);
    RepaintWholly(window);
    CheckClientSize(window, kClientWidth, kClientHeight, "on a screen of 800 x 600 at 192 dpi");
    resumed.WaitForBoardAfter(resumed.resumed, "after a change of the display mode to 800 x 600");
    // Back on the whole screen at scale 2, then minimised.
    ChangeDisplaySettingsA(nullptr, 0);
    PostMessageA(window, kLoseSurfacesMessage, kModeChangedAtCooperativeTest, 0);
    RepaintWholly(window);
    DoubledWindow(game);
    const RECT normal = WindowRect(window);
    ShowWindow(window, SW_MINIMIZE);
    E2E_CHECK(WaitUntil([&] { return IsIconic(window); }), "the window was not minimised");
    // Parked where Windows parks minimised windows without icons.
    SetWindowPos(window, nullptr, -32000, -32000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT parked = WindowRect(window);
    SwitchTo800By600();
    game.SendPromptly(kLoseSurfacesMessage, kModeChangedAtCooperativeTest, 0);
    game.SendPromptly(WM_PAINT, 0, 0);
    const RECT after = WindowRect(window);
    E2E_CHECK(IsIconic(window) && EqualRect(&after, &parked),
              "a display made again while minimised moved the window from (%ld, %ld) to (%ld, "
              "%ld)%s",
              parked.left, parked.top, after.left, after.top,
              IsIconic(window) ? "" : " and restored it");
    ShowWindow(window, SW_RESTORE);
    E2E_CHECK(WaitUntil([&] { return !IsIconic(window); }), "the window was not restored");
    CheckShownNormallyAt(window, {normal.left, normal.top}, 1,
                         "restored on a screen of 800 x 600,");
    resumed.WaitForBoardAfter(resumed.resumed, "restored after a display made again");
    ChangeDisplaySettingsA(nullptr, 0);
    QuitWithQ(game);
}

// Wine keeps the window on one monitor of 192 dots per inch; the messages of a move to monitors
// of other dots per inch come from inside the game. Wine keeps caption and menu at the system's
// DPI, as Windows 10 1607 does, so the window's border stays as it is at every DPI.
E2E_TEST(moves_to_monitors_of_other_dpi_keep_the_frame_whole_inside_the_work_area) {
    ResumedGame resumed = ResumedAt192Dpi(context);
    Game& game = resumed.game;
    const HWND window = DoubledWindow(game);
    const SIZE outer = SizeOf(WindowRect(window));
    const SIZE border = {outer.cx - kClientWidth * 2, outer.cy - kClientHeight * 2};
    const auto windowSize = [&](int scale) {
        return SIZE{kClientWidth * scale + border.cx, kClientHeight * scale + border.cy};
    };

    // The frame at the nearest whole-number scale that the work area holds.
    const struct {
        UINT dpi;
        int scale;
    } sizes[] = {{96, 1}, {144, 2}, {192, 2}, {288, 2}};
    for (const auto& row : sizes) {
        const SIZE answer = game.Probe().AskDpiScaledSize(row.dpi).value_or(SIZE{});
        const SIZE expected = windowSize(row.scale);
        E2E_CHECK(
            answer.cx == expected.cx && answer.cy == expected.cy,
            "WM_GETDPISCALEDSIZE for %u dpi answered %ld x %ld instead of %ld x %ld (scale %d)",
            row.dpi, answer.cx, answer.cy, expected.cx, expected.cy, row.scale);
    }

    // The suggested rectangle, of the size answered, is taken where it lies inside the work area
    // and moved only as far as needed where it does not.
    const RECT work = WorkArea();
    const struct {
        UINT dpi;
        int scale;
        POINT suggested;
    } moves[] = {
        {96, 1, {work.right - 300, work.bottom - 200}},
        {kDoubleDpi, 2, {work.left + 10, work.top + 20}},
        {96, 1, {work.left + 30, work.top + 40}},
        {kDoubleDpi, 2, {work.left + 100, work.top + 50}},
    };
    for (const auto& move : moves) {
        const SIZE size = windowSize(move.scale);
        const RECT suggested = {move.suggested.x, move.suggested.y, move.suggested.x + size.cx,
                                move.suggested.y + size.cy};
        game.Probe().SendDpiChanged(move.dpi, suggested);
        const POINT inside = {std::min(suggested.left, work.right - size.cx),
                              std::min(suggested.top, work.bottom - size.cy)};
        const std::string when = Format("after WM_DPICHANGED for %u dpi suggested (%ld, %ld),",
                                        move.dpi, suggested.left, suggested.top);
        CheckShownNormallyAt(window, inside, move.scale, when);
        if (move.scale == 1) {
            resumed.WaitForBoardAfter(resumed.resumed, when);
        }
    }
    QuitWithQ(game);
}

// A theme or a text size gives caption and menu other heights while the window keeps its outer
// size: the window fits the frame again, the board is shown whole and unstretched, and a click
// on its bottom row, which a higher caption and menu would push out of a window of the old
// size, steps there. The metrics come back as they were at the end.
E2E_TEST(caption_and_menu_of_other_heights_keep_the_whole_board_in_the_window) {
    ResumedGame resumed(context, "bottom-row");
    Game& game = resumed.game;
    const HWND window = game.WaitForMainWindow();
    const struct {
        int captionGrowth;
        int menuGrowth;
        UINT message;
        const char* what;
        bool clickBottomRow;
    } changes[] = {
        {40, 0, WM_SETTINGCHANGE, "a higher caption", false},
        {0, 20, WM_THEMECHANGED, "a higher menu bar as well", true},
        {-40, -20, WM_SETTINGCHANGE, "caption and menu bar as they were", false},
    };
    size_t played = resumed.resumed;
    for (const auto& change : changes) {
        game.Probe().ChangeFrameMetrics(change.captionGrowth, change.menuGrowth, change.message);
        const std::string when = Format("after %s", change.what);
        CheckClientSize(window, kClientWidth, kClientHeight, when);
        resumed.WaitForBoardAfter(played, when);
        if (change.clickBottomRow) {
            const POINT cell = StepTarget(PlayerCell(resumed.recorded.PositionAfter(played)),
                                          resumed.moves[played]);
            POINT at = {cell.x * kCellPixels + kCellPixels / 2,
                        cell.y * kCellPixels + kCellPixels / 2};
            ClientToScreen(window, &at);
            game.Focus();
            ClickAt(at);
            resumed.WaitForBoardAfter(++played, "after a click on the bottom row " + when);
        }
    }
    QuitWithQ(game);
}

// The system keeps a stored placement's position and gives the window its size at 192 dots per
// inch there: grown, the window is moved back inside the work area, and only as far as needed;
// a placement stored minimised or maximised comes back so too, in the normal state.
E2E_TEST(placement_stored_at_96_dpi_comes_back_whole_inside_the_work_area_at_192_dpi) {
    StoreScreenDpi(kDoubleDpi);
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectExForDpi(&frame, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, TRUE,
                             0, 96);
    const RECT work = WorkArea();
    // Near the bottom-right corner, and near the top-left one: both inside at 96 dpi.
    const POINT nearCorner = {work.right - 520, work.bottom - 390};
    const std::pair<POINT, UINT> placements[] = {{nearCorner, SW_SHOWNORMAL},
                                                 {POINT{10, 20}, SW_SHOWNORMAL},
                                                 {nearCorner, SW_SHOWMINIMIZED},
                                                 {nearCorner, SW_SHOWMAXIMIZED}};
    for (const auto& [stored, showCmd] : placements) {
        StoreMainWindowPlacement({stored.x, stored.y, stored.x + frame.right - frame.left,
                                  stored.y + frame.bottom - frame.top},
                                 showCmd);
        Game game(context);
        const HWND window = game.WaitForMainWindow();
        const SIZE size = SizeOf(WindowRect(window));
        CheckShownNormallyAt(window,
                             {std::min(stored.x + work.left, work.right - size.cx),
                              std::min(stored.y + work.top, work.bottom - size.cy)},
                             2,
                             Format("with a placement stored at (%ld, %ld) at 96 dpi, shown as %u,",
                                    stored.x, stored.y, showCmd));
        QuitWithQ(game);
    }
}

E2E_TEST(damaged_image_files_are_treated_as_missing) {
    const struct {
        const char* name;
        size_t (*keptBytes)(size_t size);
    } damages[] = {
        {"zero-length", [](size_t) { return size_t(0); }},
        {"headers only", [](size_t) { return size_t(kBitmapHeadersSize); }},
        {"cut in half", [](size_t size) { return size / 2; }},
    };
    std::string originals[std::size(kImageFiles)];
    for (size_t i = 0; i < std::size(kImageFiles); ++i) {
        originals[i] = ReadFileBytes(context.installDir + "\\Graphics\\" + kImageFiles[i]);
    }
    const RecordedGame recorded(context, "resume");
    const size_t length = recorded.FirstPlayedMove();
    const Picture builtIn = LoadBitmapPicture("", context.gamePath, IDB_GAME_ICONS, 160, 120);
    for (const auto& damage : damages) {
        PrepareResume(context, recorded, length);
        for (size_t i = 0; i < std::size(kImageFiles); ++i) {
            const std::string kept = originals[i].substr(0, damage.keptBytes(originals[i].size()));
            E2E_CHECK(std::ofstream(Replaced(context, kImageFiles[i]), std::ios::binary) << kept,
                      "cannot write %s", kImageFiles[i]);
        }
        Game game(context);
        game.WaitForBoard(recorded.PositionAfter(length), builtIn,
                          Format("with every image file %s (the built-in sprites and no wallpaper)",
                                 damage.name));
        QuitWithQ(game);
    }
}

// run.sh runs the tests named "..._at_16_bits" on a display of 16 bits per pixel.
E2E_TEST(board_background_matches_the_status_strip_at_16_bits) {
    // How the screen shows the colour: through a bitmap of the screen's own format.
    const HDC screen = GetDC(nullptr);
    E2E_CHECK(GetDeviceCaps(screen, BITSPIXEL) == 16, "the display has %d bits per pixel",
              GetDeviceCaps(screen, BITSPIXEL));
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(memory, CreateCompatibleBitmap(screen, 1, 1));
    SetPixel(memory, 0, 0, RGB(220, 255, 220));
    const COLORREF shown = GetPixel(memory, 0, 0);
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    const uint32_t expected = Rgb(GetRValue(shown), GetGValue(shown), GetBValue(shown));
    const RecordedGame recorded(context, "resume");
    PrepareResume(context, recorded, recorded.FirstPlayedMove());
    Game game(context);
    game.WaitForMainWindow();
    // The board area's bottom rows never show a cell, and the strip's left edge no text.
    uint32_t background = 0;
    uint32_t strip = 0;
    E2E_CHECK(WaitUntil([&] {
                  const Picture client = game.Capture();
                  background = client.At(kBoardWidth - 1, kBoardHeight - 1);
                  strip = client.At(2, kBoardHeight + 8);
                  return background == expected && strip == expected;
              }),
              "RGB(220, 255, 220) shows as %s at 16 bits, but the board's background as %s and "
              "the status strip as %s",
              DescribeColor(expected).c_str(), DescribeColor(background).c_str(),
              DescribeColor(strip).c_str());
    QuitWithQ(game);
}

// The file dialog leaves the current folder where start-up put it: after a Save into another
// folder the sounds are the game's own files, a lost display comes back with the chosen sprite
// set, grid and wallpaper, and a quit after a listed score and an Open of the saved record
// leaves every data file where the next start looks for it (for Clankmere9x.exe the "Clankmere"
// folder in the folder it was started in).
E2E_TEST(a_save_into_another_folder_leaves_pictures_sounds_and_data_files_where_they_were) {
    const RecordedGame recorded(context, "high-score");
    const size_t fatal = recorded.FirstPlayedMove();
    const Picture sheet = InstalledArt(context, "GameIcons 3.bmp", IDB_GAME_ICONS);
    const Picture wallpaper = InstalledArt(context, "Wallpaper.bmp", 0);
    const Picture grid = InstalledArt(context, "GridIcons.bmp", IDB_GRID_ICONS);
    const Backdrop backdrop = {kBackgroundColor, &wallpaper, &grid, 1};
    PreferencesRecord chosen = DefaultPreferences();
    PutFields(chosen, {{"m_iconSet", 2}, {"m_gridStyle", 1}});
    StorePreferences(chosen);
    StoreReportedVersion("Clankmere9x.exe", "win98");
    SetEnvironmentVariableA(kSurfaceLossSwitch, "1");
    const std::string elsewhere = "C:\\elsewhere";
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    const std::string appData = DataFilePath("Saved Game.txt");
    const struct {
        const char* name;
        std::string program;
        std::string dataFolder;
        CellsFrom cells;
    } flavours[] = {
        {"Clankmere.exe", context.gamePath, appData.substr(0, appData.find_last_of('\\')), {}},
        {"Clankmere9x.exe", context.installDir + "\\Clankmere9x.exe",
         context.installDir + "\\Clankmere", kCellsWine98Shows},
    };
    EnsureNumLockOn();
    for (const auto& flavour : flavours) {
        const char* name = flavour.name;
        const std::string data = flavour.dataFolder + "\\";
        CreateDirectoryA(flavour.dataFolder.c_str(), nullptr);
        WriteGameRecord(data + "Saved Game.txt", recorded.Prefix(fatal));
        const Position position = recorded.PositionAfter(fatal);
        {
            Game game(flavour.program, context.installDir);
            game.WaitForBoard(position, sheet, Format("%s resumed", name), flavour.cells, backdrop);
            game.Press('S', kCtrl);
            const std::string saved = Format("%s\\%s.txt", elsewhere.c_str(), name);
            game.ChooseFile(saved, "Ctrl+S");
            const HWND window = game.WaitForMainWindow();
            PostMessageA(window, kLoseSurfacesMessage, kSurfacesLost, 0);
            RepaintWholly(window);
            game.WaitForBoard(position, sheet, Format("%s after a Save and a lost display", name),
                              flavour.cells, backdrop);
            const ProbeShared& seen = game.Probe().Seen();
            const LONG soundsBefore = seen.sounds;
            const LONG beforeFatalWait = game.Probe().CommandsDone();
            game.Press(NumericPadKey(recorded.Record().moves[fatal]));
            game.Dismiss(game.WaitForMessageBox(Format("%s after the fatal wait", name)));
            // The wait's command goes on after the name, and its end drops the keys typed
            // meanwhile: the next command is pressed once it has returned.
            game.CheckOnlyCommandSince(beforeFatalWait, IDM_WAIT,
                                       Format("%s: the fatal wait", name));
            const std::string own = context.installDir + "\\" + seen.lastSound;
            E2E_CHECK(seen.sounds > soundsBefore && lstrcmpiA(seen.lastSoundPath, own.c_str()) == 0,
                      "after a Save %s played %ld sounds, the last from \"%s\" instead of \"%s\"",
                      name, seen.sounds - soundsBefore, seen.lastSoundPath, own.c_str());
            // A game under way for the quit to save: the one saved before, which a fresh game's
            // random board could not promise to be after a move.
            const LONG beforeOpen = game.Probe().CommandsDone();
            game.Press('O', kCtrl);
            game.ChooseFile(saved, "Ctrl+O");
            game.WaitForCommandEnd({nullptr, beforeOpen}, Format("%s: Ctrl+O", name));
            game.WaitForBoard(position, sheet, Format("%s after Ctrl+O", name), flavour.cells,
                              backdrop);
            QuitWithQ(game);
        }
        CheckHighScoresFile(data + "High Scores.txt", "Blimpers");
        CheckSameGame(data + "High Score Games\\hs1700000000.txt", recorded.Record(),
                      Format("the listed game's record of %s", name));
        CheckSameGame(data + "Last Game.txt", recorded.Record(),
                      Format("the last game of %s", name));
        CheckSameGame(data + "Saved Game.txt", recorded.Prefix(fatal),
                      Format("the game %s saved at the quit", name));
        Game again(flavour.program, context.installDir);
        again.WaitForMainWindow();
        E2E_CHECK(!FileExists(data + "Saved Game.txt"),
                  "%s did not resume the game it saved at the next start", name);
    }
}
