// The windows the program draws itself, at 96 and at 192 dots per inch: the High Scores list,
// the How to Play picture and the lines of the About box must be twice as large at 192, the
// picture in exact 2 x 2 blocks and the texts by the size of their ink. The list follows moves
// to monitors of other dots per inch; the picture, fitted anew, has just the room it needs.
#include "Scenario.h"

namespace {

constexpr int kScale = 2;

// The list's regions of text at 96 dots per inch: the title, the column headers, the ten rows.
std::vector<RECT> ListTextRegions() {
    std::vector<RECT> regions = {{10, 10, 502, 40}, {10, 50, 502, 70}};
    for (int row = 0; row < 10; ++row) {
        regions.push_back({10, 70 + 20 * row, 502, 90 + 20 * row});
    }
    return regions;
}

// Each text of the list `shown` at `dpi` against the list at 96 dots per inch.
void CheckListInkScaled(const Picture& at96, const Picture& shown, UINT dpi,
                        const std::string& when) {
    const std::vector<RECT> regions = ListTextRegions();
    for (size_t i = 0; i < regions.size(); ++i) {
        CheckInkScaled(InkBox(at96, regions[i]), InkBox(shown, ScaledRect(regions[i], dpi)), dpi,
                       Format("text %zu of the High Scores list %s", i + 1, when.c_str()).c_str());
    }
}

// Moves of the list to monitors of other dots per inch, told from inside: for each it answers
// the size of the frame around its client area at that scale, takes that size where the system
// suggests, and draws its texts at that scale.
void CheckListMovesAcrossDpi(Game& game, HWND list, const Picture& at96) {
    RECT outer = WindowRect(list);
    const SIZE border = {outer.right - outer.left - kHighScoresWidth,
                         outer.bottom - outer.top - kHighScoresHeight};
    for (const UINT dpi : {192u, 144u, 96u}) {
        const SIZE client = {ScaledLength(kHighScoresWidth, dpi),
                             ScaledLength(kHighScoresHeight, dpi)};
        const SIZE size = {client.cx + border.cx, client.cy + border.cy};
        const SIZE answer = game.Probe().AskDpiScaledSize(dpi, list).value_or(SIZE{});
        E2E_CHECK(answer.cx == size.cx && answer.cy == size.cy,
                  "WM_GETDPISCALEDSIZE for %u dpi: the High Scores window answered %ld x %ld, "
                  "not %ld x %ld",
                  dpi, answer.cx, answer.cy, size.cx, size.cy);
        outer = WindowRect(list);
        game.Probe().SendDpiChanged(
            dpi, {outer.left, outer.top, outer.left + size.cx, outer.top + size.cy}, list);
        const std::string when = Format("after WM_DPICHANGED for %u dpi", dpi);
        CheckClientSize(list, client.cx, client.cy, "the High Scores window " + when);
        CheckListInkScaled(at96, WaitForSteadyPicture(list), dpi, when);
    }
}

// The About box's title box (inside its frame) and the four placeholders of its lines.
constexpr int kAboutPlaces[] = {IDC_ABOUT_TITLE, IDC_ABOUT_CREDIT, IDC_ABOUT_CREDIT_VERSION,
                                IDC_ABOUT_AUTHOR, IDC_ABOUT_AUTHOR_VERSION};

// What the three windows showed at one setting of dots per inch.
struct Drawn {
    Picture list;
    Picture help;
    Picture about;
    std::vector<RECT> aboutPlaces;
};

Picture CaptureList(Game& game, int scale) {
    game.SendPromptly(WM_COMMAND, IDM_SHOW_HIGH_SCORES, 0);
    const HWND list = WaitForHighScoresList(scale, "at the start,", 0);
    const Picture shown = WaitForSteadyPicture(list);
    if (scale == 1) {
        CheckListMovesAcrossDpi(game, list, shown);
    }
    PostMessageA(list, WM_CLOSE, 0, 0);
    WaitUntilClosed(list, "WM_CLOSE to the High Scores window");
    return shown;
}

// The picture control, moved onto the screen: at 192 dpi the dialog is wider than the desktop.
// Before, a move to a monitor of these dots per inch, told from inside, fits it anew.
Picture CaptureHelpPicture(Game& game, UINT dpi) {
    const MenuDialog help = game.OpenFromMenu(IDM_HOW_TO_PLAY, "Help");
    const RECT frame = WindowRect(help.window);
    // Larger than its layout, as a move from other dots per inch leaves it.
    SetWindowPos(help.window, nullptr, 0, 0, frame.right - frame.left + 20,
                 frame.bottom - frame.top + 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    game.Probe().SendDpiChanged(dpi, frame, help.window);
    WaitForSteadyPicture(help.window);
    const RECT refitted = WindowRect(help.window);
    E2E_CHECK(EqualRect(&frame, &refitted),
              "the Help dialog at %u dpi, fitted anew, ends at (%ld, %ld), not (%ld, %ld)", dpi,
              refitted.right, refitted.bottom, frame.right, frame.bottom);
    const HWND control = Control(help.window, IDC_HELP_PICTURE);
    const RECT place = ClientRectOf(help.window, control);
    MoveClientLeftTo(help.window, 8 - place.left);
    const Picture shown = Crop(WaitForSteadyPicture(help.window), place);
    CloseDialog(game, help, IDOK, "after OK in How to Play");
    return shown;
}

// Once the title has grown to full size and the lines under it are drawn.
void CaptureAbout(Game& game, Drawn* drawn) {
    const MenuDialog about = game.OpenFromMenu(IDM_ABOUT, "About");
    for (const int id : kAboutPlaces) {
        drawn->aboutPlaces.push_back(ClientRectOf(about.window, Control(about.window, id)));
    }
    const RECT& lastLine = drawn->aboutPlaces.back();
    E2E_CHECK(WaitUntil([&] {
                  const RECT ink = InkBox(CaptureClient(about.window), lastLine);
                  return !IsRectEmpty(&ink);
              }),
              "the About box never drew its last line");
    // Moved once the title has grown: a paint during the growth draws nothing.
    MoveClientLeftTo(about.window, 0);
    drawn->about = WaitForSteadyPicture(about.window);
    CloseDialog(game, about, IDOK, "after OK in About");
}

Drawn DrawnAt(const Installation& context, DWORD dpi) {
    StoreScreenDpi(dpi);
    Game game(context);
    game.WaitForMainWindow();
    Drawn drawn;
    drawn.list = CaptureList(game, static_cast<int>(dpi) / 96);
    drawn.help = CaptureHelpPicture(game, dpi);
    CaptureAbout(game, &drawn);
    QuitWithQ(game);
    return drawn;
}

// The title box's ink lies inside its one-pixel frame.
RECT InsideFrame(RECT box) {
    InflateRect(&box, -1, -1);
    return box;
}

} // namespace

E2E_TEST(high_scores_help_picture_and_about_lines_double_at_192_dpi) {
    StoreDefaultPreferences();
    const Drawn at96 = DrawnAt(context, 96);
    const Drawn at192 = DrawnAt(context, kDoubleDpi);

    CheckListInkScaled(at96.list, at192.list, kDoubleDpi, "(title, headers, rows) at the start");

    Picture shrunk;
    const std::string blocks = ShrinkBlocks(at192.help, kScale, &shrunk);
    E2E_CHECK(blocks.empty(), "the help picture at 192 dpi: %s", blocks.c_str());
    E2E_CHECK(shrunk == at96.help,
              "the help picture at 192 dpi, shrunk by its 2 x 2 blocks, is %d x %d and not the "
              "%d x %d picture shown at 96 dpi",
              shrunk.width, shrunk.height, at96.help.width, at96.help.height);

    for (size_t i = 0; i < std::size(kAboutPlaces); ++i) {
        const RECT place96 = i == 0 ? InsideFrame(at96.aboutPlaces[i]) : at96.aboutPlaces[i];
        const RECT place192 = i == 0 ? InsideFrame(at192.aboutPlaces[i]) : at192.aboutPlaces[i];
        CheckInkScaled(InkBox(at96.about, place96), InkBox(at192.about, place192), kDoubleDpi,
                       Format("About control %d", kAboutPlaces[i]).c_str());
    }
}

namespace {

// A program and the sizes of its icon.
using IconGroups = std::pair<const char*, std::vector<int>>;

} // namespace

// Screens of up to 300 % find the program's icon in the size they need, and Explorer its
// 256-pixel picture: the robot in blocks of 16 x 16. The 9x build keeps the two sizes of its
// time.
E2E_TEST(icons_come_in_every_size_the_system_asks_for) {
    const std::string folder = context.installDir + "\\";
    for (const auto& [program, sizes] : {IconGroups{"Clankmere.exe", {16, 32, 48, 256}},
                                         IconGroups{"Clankmere9x.exe", {16, 32}}}) {
        HMODULE module =
            LoadLibraryExA((folder + program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        E2E_CHECK(module, "%s cannot be loaded", program);
        const std::vector<int> large = IconGroupSizes(module, IDI_ROBOT);
        E2E_CHECK(large == sizes, "%s: icon %d has %zu sizes, %d pixels the largest", program,
                  IDI_ROBOT, large.size(), large.empty() ? 0 : large.back());
        const std::vector<int> small = IconGroupSizes(module, IDI_ROBOT_SMALL);
        E2E_CHECK(small.front() == 16, "%s: the small icon's first size is %d", program,
                  small.front());
        if (sizes.back() == 256) {
            Picture shrunk;
            const std::string blocks = ShrinkBlocks(DrawnIcon(module, IDI_ROBOT, 256), 16, &shrunk);
            E2E_CHECK(blocks.empty(), "%s: the 256-pixel icon: %s", program, blocks.c_str());
            E2E_CHECK(shrunk == DrawnIcon(module, IDI_ROBOT, 16),
                      "%s: the 256-pixel icon is not the 16-pixel one in blocks", program);
        }
        FreeLibrary(module);
    }
}
