// The windows the program draws itself, at 96 and at 192 dots per inch: the High Scores list,
// the How to Play picture and the lines of the About box must be twice as large at 192, the
// picture in exact 2 x 2 blocks and the texts by the size of their ink. The list follows moves
// to monitors of other dots per inch; the picture, fitted anew, has just the room it needs.
#include "Scenario.h"

#include <cstdlib>

namespace {

constexpr int kScale = 2;
constexpr UINT kDoubleDpi = 96 * kScale;

// The list's regions of text at 96 dots per inch: the title, the column headers, the ten rows.
std::vector<RECT> ListTextRegions() {
    std::vector<RECT> regions = {{10, 10, 502, 40}, {10, 50, 502, 70}};
    for (int row = 0; row < 10; ++row) {
        regions.push_back({10, 70 + 20 * row, 502, 90 + 20 * row});
    }
    return regions;
}

int Scaled(LONG length, UINT dpi) {
    return MulDiv(length, static_cast<int>(dpi), 96);
}

RECT Scaled(RECT rect, UINT dpi) {
    return {Scaled(rect.left, dpi), Scaled(rect.top, dpi), Scaled(rect.right, dpi),
            Scaled(rect.bottom, dpi)};
}

// Each edge of the ink at `dpi` lies where its edge at 96 does, scaled, give or take what
// hinting and smoothing change in a font of another size.
void CheckInkScaled(const RECT& at96, const RECT& at, UINT dpi, const char* what) {
    const LONG edges96[] = {at96.left, at96.top, at96.right, at96.bottom};
    const LONG edges[] = {at.left, at.top, at.right, at.bottom};
    for (int i = 0; i < 4; ++i) {
        const LONG expected = Scaled(edges96[i], dpi);
        E2E_CHECK(!IsRectEmpty(&at96) && std::labs(edges[i] - expected) <= 3 + expected / 20,
                  "%s: its ink at %u dpi is (%ld, %ld, %ld, %ld), not (%ld, %ld, %ld, %ld) scaled",
                  what, dpi, at.left, at.top, at.right, at.bottom, at96.left, at96.top, at96.right,
                  at96.bottom);
    }
}

// Each text of the list `shown` at `dpi` against the list at 96 dots per inch.
void CheckListInkScaled(const Picture& at96, const Picture& shown, UINT dpi,
                        const std::string& when) {
    const std::vector<RECT> regions = ListTextRegions();
    for (size_t i = 0; i < regions.size(); ++i) {
        CheckInkScaled(InkBox(at96, regions[i]), InkBox(shown, Scaled(regions[i], dpi)), dpi,
                       Format("text %zu of the High Scores list %s", i + 1, when.c_str()).c_str());
    }
}

// Moves of the list to monitors of other dots per inch, told from inside: for each it answers
// the size of the frame around its client area at that scale, takes that size where the system
// suggests, and draws its texts at that scale.
void CheckListMovesAcrossDpi(Game& game, HWND list, const Picture& at96) {
    RECT outer = WindowRect(list);
    const SIZE border = {outer.right - outer.left - 512, outer.bottom - outer.top - 270};
    for (const UINT dpi : {192u, 144u, 96u}) {
        const SIZE client = {Scaled(512, dpi), Scaled(270, dpi)};
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

void CloseDialog(Game& game, const MenuDialog& dialog, const char* when) {
    Click(dialog.window, IDOK);
    WaitUntilClosed(dialog.window, when);
    game.WaitForCommandEnd(dialog, when);
}

Picture CaptureList(Game& game, int scale) {
    game.SendPromptly(WM_COMMAND, IDM_SHOW_HIGH_SCORES, 0);
    const HWND list = WaitForHighScoresWindow("after Show High Scores");
    CheckClientSize(list, 512 * scale, 270 * scale,
                    Format("the High Scores window at %dx:", scale));
    MoveClientLeftTo(list, 0);
    const POINT rowEnd = {500 * scale, 80 * scale};
    E2E_CHECK(
        WaitUntil([&] { return CaptureClient(list).At(rowEnd.x, rowEnd.y) == Rgb(240, 240, 240); }),
        "the High Scores window shows no list");
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
    CloseDialog(game, help, "after OK in How to Play");
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
    CloseDialog(game, about, "after OK in About");
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

// The widths of the images in icon group `id` of `module`, in the order the group lists them.
std::vector<int> IconGroupSizes(HMODULE module, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));
    const auto* group =
        found ? static_cast<const BYTE*>(LockResource(LoadResource(module, found))) : nullptr;
    E2E_CHECK(group, "the program has no icon group %d", id);
    // A header of three words, then an entry of 14 bytes per image, its width first (0: 256).
    const WORD count = *reinterpret_cast<const WORD*>(group + 4);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const BYTE width = group[6 + 14 * i];
        sizes.push_back(width == 0 ? 256 : width);
    }
    return sizes;
}

// The icon as the system draws it at `side` pixels, over white.
Picture DrawnIcon(HMODULE module, int side) {
    auto* icon = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(IDI_ROBOT), IMAGE_ICON, side, side, 0));
    E2E_CHECK(icon, "no %d-pixel icon can be loaded", side);
    const Picture drawn = IconPicture(icon, side, side, Rgb(255, 255, 255));
    DestroyIcon(icon);
    return drawn;
}

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
            const std::string blocks = ShrinkBlocks(DrawnIcon(module, 256), 16, &shrunk);
            E2E_CHECK(blocks.empty(), "%s: the 256-pixel icon: %s", program, blocks.c_str());
            E2E_CHECK(shrunk == DrawnIcon(module, 16),
                      "%s: the 256-pixel icon is not the 16-pixel one in blocks", program);
        }
        FreeLibrary(module);
    }
}
