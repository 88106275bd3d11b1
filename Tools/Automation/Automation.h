// Driving Clankmere.exe from outside, under Wine, the way a player does: start it, find its
// windows and boxes, press real keys, click, look at the pixels of its window, and read or
// prepare what it keeps in its files and in the registry. Used by the end-to-end tests, the
// benchmarks under Wine and the screenshot of `make run`.
//
// Every call either does what it promises or throws Failure with a sentence that says where
// and why; waits poll for their effect and give up after kPatienceMs.
#pragma once

#include "Probe/ProbeProtocol.h"
#include "resource.h"

#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// === Failures and waiting

class Failure : public std::exception {
public:
    explicit Failure(std::string what) : m_what(std::move(what)) {}
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    std::string m_what;
};

std::string Format(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
[[noreturn]] void Fail(const char* format, ...)
    __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));

// Fails with the sentence Fail makes of the other arguments unless `condition` holds; the
// sentence is only made then.
#define E2E_CHECK(condition, ...) ((condition) ? void() : Fail(__VA_ARGS__))

// What is awaited normally comes within a few hundred ms.
constexpr DWORD kPatienceMs = 20000;
// False when `condition` still does not hold after `timeoutMs`.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kPatienceMs,
               DWORD pollMs = 15);

// === Keys and mouse: SendInput with virtual keys (Wine ignores scan codes alone), modifiers
// pressed as keys of their own, the mouse at screen coordinates

enum Modifiers : unsigned {
    kNoModifiers = 0,
    kShift = 1,
    kCtrl = 2,
    kAlt = 4,
};

void PressKey(WORD vk, unsigned modifiers = kNoModifiers);
// Letters, digits, blanks and punctuation, with the keys that make them.
void TypeText(const std::string& text);
// Down until the end of the scope, also when a failure ends it.
class HeldKey {
public:
    explicit HeldKey(WORD vk);
    ~HeldKey();
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;

private:
    WORD m_vk;
};
// Foreground window with the keyboard focus; `what` names it in a failure.
void BringToFront(HWND window, const char* what);
// So that the numeric pad types digits.
void EnsureNumLockOn();

void MouseDown(POINT at);
void MouseMoveTo(POINT at);
void MouseUp(POINT at);
void ClickAt(POINT at);
// With the right button: a context menu opens.
void RightClickAt(POINT at);
// Two clicks well within the double-click time.
void DoubleClickAt(POINT at);

// === Pictures: pixels as the screen shows them, 0x00RRGGBB, rows from the top

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    Picture() = default;
    Picture(int w, int h, uint32_t fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    uint32_t& At(int x, int y) { return pixels[size_t(y) * width + x]; }
    bool operator==(const Picture& other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return (r << 16) | (g << 8) | b;
}
// "RGB(r, g, b)".
std::string DescribeColor(uint32_t color);

// From the screen: PrintWindow misses what DirectDraw shows.
Picture CaptureClient(HWND window);
// As the game loads a bitmap: `file`, else resource `resourceId` of `module`; a width and height
// of 0 take the bitmap's own.
Picture LoadBitmapPicture(const std::string& file, const std::string& module, int resourceId,
                          int width, int height);
// `icon` at its own size in the top-left corner of a picture filled with `background`.
Picture IconPicture(HICON icon, int width, int height, uint32_t background);
// A 24-bit BMP file.
void SavePicture(const Picture& picture, const std::string& path);
Picture Crop(const Picture& picture, const RECT& rect);
// The client area, or its `region`, once that has stood still for `stillMs`.
Picture WaitForSteadyPicture(HWND window, DWORD stillMs = 300, std::optional<RECT> region = {});
// Where text or lines are drawn in `region`: the smallest rectangle, relative to the region's
// top-left corner, that holds every pixel not of the colour of that corner; empty when none.
RECT InkBox(const Picture& picture, const RECT& region);
// Empty when `shown` is made of `scale` x `scale` blocks of one colour each; `*shrunk` then
// holds one pixel per block. Else where the first mixed block lies.
std::string ShrinkBlocks(const Picture& shown, int scale, Picture* shrunk);

// From the performance counter, for timing what the screen shows.
double NowMs();

// === The board: positions as the replay tool prints them, and the picture of a full redraw,
// composed from the sprite sheet over the plain background colour

constexpr int kColumns = 31;
constexpr int kRows = 18;
constexpr int kCellPixels = 16;
constexpr int kBoardWidth = kColumns * kCellPixels;
// Four pixel rows taller than the cells: animation frames hang below them.
constexpr int kBoardHeight = kRows * kCellPixels + 4;
constexpr int kClientWidth = 496;
constexpr int kClientHeight = 322;
constexpr uint32_t kBackgroundColor = Rgb(220, 255, 220);

// Cells: '.' empty, '1' robot, 'A' player, 'S' heap; and what the status line shows.
struct Position {
    char cells[kRows][kColumns + 1] = {};
    long score = 0;
    long level = 0;
    long screwdrivers = 0;
    // The steps, as move characters, whose arrows stand on the free cells around the player.
    std::string arrows = "12346789";

    char At(int x, int y) const { return cells[y][x]; }
};

// What the replay tool printed into `path`.
Position LoadPosition(const std::string& path);
constexpr bool OnBoard(int x, int y) {
    return x >= 0 && y >= 0 && x < kColumns && y < kRows;
}
// The board's cells that `keep` accepts, row by row.
std::vector<POINT> CellsWhere(const std::function<bool(POINT)>& keep);
POINT PlayerCell(const Position& position);
// The empty cells on the board around the player: they show arrows.
std::vector<POINT> ArrowCells(const Position& position);
// Where a move character ('1' to '9', laid out as the numeric pad) steps to.
POINT StepTarget(POINT cell, char move);

// "Graphics\GameIcons 1.bmp", else the bitmap built into `gamePath`.
Picture LoadSpriteSheet(const std::string& installDir, const std::string& gamePath);
// An icon of the sprite sheet (every icon is 16 wide).
struct Sprite {
    POINT at;
    int height;
};
// Top-left corner at pixel (x, y), without its key colour.
void DrawSprite(Picture& target, const Picture& sheet, const Sprite& sprite, int x, int y);
// What a full redraw puts under the cells: the colour scheme's fill; in the coloured scheme the
// wallpaper, if any, tiled from the top-left corner over the board; and grid icon `gridStyle`
// (1 to 5, 0 for none) of the grid image on every cell, without its top row on the first row of
// cells and without its right column on the last column.
struct Backdrop {
    uint32_t fill = kBackgroundColor;
    const Picture* wallpaper = nullptr;
    const Picture* grid = nullptr;
    int gridStyle = 0;
};
// After a full redraw, arrows included.
Picture ComposeBoard(const Position& position, const Picture& sheet, const Backdrop& backdrop = {});

// The cells a comparison looks at: from a first column and a first row on.
struct CellsFrom {
    int column = 0;
    int row = 0;
};
// As Windows 98, Wine clips what DirectDraw presents to the window as if its frame were
// larger: the leftmost 4 and topmost 42 pixels of the client area stay blank. The boards of a
// program that Wine tells it runs on Windows 98 are compared right and below of them.
constexpr CellsFrom kCellsWine98Shows = {1, 3};
// The status line under the board, each text as its alignment and itself in the order drawn:
// "left Score: 20 / right Screwdrivers: 1 / centre Level: 1" during a game.
std::string StatusLineOf(const Position& position);
constexpr char kDemoStatusLine[] = "centre Select \"New Game\" from the File menu to begin.";
constexpr char kNewGameStatusLine[] = "left Score: 0 / right Screwdrivers: 1 / centre Level: 1";

// Empty when the board areas agree, else the first pixel that differs and why.
std::string FirstBoardDifference(const Picture& expected, const Picture& found,
                                 const Position* position = nullptr, CellsFrom from = {});

constexpr Sprite kRobotSprite = {{128, 0}, kCellPixels};
// Explosion and death frames hang below the cell.
constexpr int kFrameHeight = 20;
constexpr Sprite ExplosionFrame(int k) {
    return {{kCellPixels * k, 32}, kFrameHeight};
}
constexpr Sprite DeathFrame(int k) {
    return {{kCellPixels * k, 72}, kFrameHeight};
}
constexpr int kLastDeathFrame = 7;

// === Game records and the data folder

struct GameRecord {
    unsigned long startTime = 0;
    std::string moves;
};

// Nothing when the file is missing or cannot be read; the path is in UTF-8.
std::optional<GameRecord> ReadGameRecord(const std::string& path);
// As the game writes a saved game on Windows.
void WriteGameRecord(const std::string& path, const GameRecord& record);
// "%APPDATA%\Clankmere\<fileName>" of this prefix's user; makes the folder.
std::string DataFilePath(const std::string& fileName);
bool FileExists(const std::string& path);
bool FileExists(const std::wstring& path);
// Empty when the file cannot be read.
std::string ReadFileBytes(const std::string& path);
// Until `path` holds exactly the bytes of `expectedPath` (a file being written comes whole).
void WaitForSameBytes(const std::string& path, const std::string& expectedPath,
                      const std::string& what);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Open without sharing, as another program (a virus scanner, an indexer, an editor) may hold a
// file, until Release or the end of the scope: nobody else can open, replace or remove it.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile() { Release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    void Release();

private:
    HANDLE m_handle;
};
// Fails unless `path` holds the start time and actions of `expected` (blanks do not count).
void CheckSameGame(const std::string& path, const GameRecord& expected, const std::string& what);

// A copy of the game, and the records with positions that e2e_replay_positions (wine-env.sh) made.
struct Installation {
    std::string gamePath;
    std::string installDir;
    std::string gamesDir;
};
// The installation's "Graphics\`file`" at its own size, else resource `resource` of the game.
Picture InstalledArt(const Installation& installation, const char* file, int resource);

// A record "<gamesDir>\<name>.txt" with the position "<name>.<k>.board" after each prefix.
class RecordedGame {
public:
    RecordedGame(const Installation& installation, const std::string& name);

    const GameRecord& Record() const { return m_record; }
    // The first move played with keys: the one after the record's last blank.
    size_t FirstPlayedMove() const;
    GameRecord Prefix(size_t length) const;
    // Where the first `length` moves lead, according to the replay tool.
    Position PositionAfter(size_t length) const;

private:
    std::string m_base;
    GameRecord m_record;
};

// === The stored settings: registry value "Data" under HKCU\Software\Clankmere\Preferences,
// a record of 196 bytes, little-endian

using PreferencesRecord = std::vector<uint8_t>;

// The settings block ends here; the two window placements and an end marker follow.
constexpr size_t kPreferencesSize = 196;
constexpr size_t kSettingsSize = 104;
constexpr size_t kMainWindowPlacementOffset = 104;
constexpr size_t kHighScoresPlacementOffset = 148;

// After a revert to the defaults: no window placements.
PreferencesRecord DefaultPreferences();
// A number field by its name ("m_teleportRule", ...).
void PutField(PreferencesRecord& record, const char* name, int64_t value);
// Fields by name with their values.
using Settings = std::vector<std::pair<const char*, int64_t>>;
void PutFields(PreferencesRecord& record, const Settings& values);
WINDOWPLACEMENT GetPlacement(const PreferencesRecord& record, size_t offset);
void PutPlacement(PreferencesRecord& record, size_t offset, const WINDOWPLACEMENT& placement);
void PutPlayerName(PreferencesRecord& record, const char* name);

struct StoredValue {
    DWORD type = REG_NONE;
    PreferencesRecord bytes;
};
// Nothing when the key or the value does not exist.
std::optional<StoredValue> ReadStoredPreferences();
// Fails unless the value is REG_BINARY of 196 bytes.
PreferencesRecord ReadStoredRecord(const std::string& when);
void StorePreferences(const PreferencesRecord& record);
// So that the game starts without its revert message.
void StoreDefaultPreferences();
// The default preferences with the main window at `normal` (workspace coordinates), shown as
// `showCmd`, as the game stores them at quit.
void StoreMainWindowPlacement(const RECT& normal, UINT showCmd);
// Fails unless the stored record's fields in [from, to) are those of `expected`.
void CheckStoredPreferences(const PreferencesRecord& expected, const std::string& when,
                            size_t from = 0, size_t to = kPreferencesSize);
// Wine reports `version` ("win98", ...) to `program` ("Clankmere.exe") from its next start.
void StoreReportedVersion(const char* program, const char* version);
// Wine loads no `dll` ("ddraw", ...) into `program` from its next start: the loader fails as
// for a DLL that is not there.
void StoreDisabledDll(const char* program, const char* dll);
// Wine gives the screen `dpi` dots per inch in every program started from now on (LogPixels).
void StoreScreenDpi(DWORD dpi);
// Twice the dots per inch of a plain screen.
constexpr UINT kDoubleDpi = 2 * 96;

// === The probe: a DLL in the game (Probe/ProbeDll.cpp) that reads its menus, tells when a
// command has been handled completely, counts its beeps, sounds and wait masks, and keeps the
// texts it draws

struct MenuItem {
    bool separator = false;
    int id = 0;
    bool grayed = false;
    bool disabled = false;
    bool checked = false;
    std::string text;
};

struct Menu {
    std::string title;
    std::vector<MenuItem> items;
};

class ProbeClient {
public:
    // Loads clankmere-probe.dll (beside this program) into the game to watch `mainWindow`.
    ProbeClient(HANDLE process, DWORD pid, HWND mainWindow);
    ~ProbeClient();
    ProbeClient(const ProbeClient&) = delete;
    ProbeClient& operator=(const ProbeClient&) = delete;

    // WM_COMMAND messages the main window has finished handling.
    LONG CommandsDone() const { return m_shared->commandsDone; }
    // The identifiers of those handled after the first `mark`, in order.
    std::vector<int> CommandsSince(LONG mark) const;
    // The menu bar's menus, then a context menu of the game's that is open, titled "(open)".
    std::vector<Menu> ReadMenus();
    // "label <caption>|<text>|<pixels needed>|<pixels it has>" per dialog label cut off.
    std::vector<std::string> ReadDialogLabels();
    // WM_GETDPISCALEDSIZE for `dpi`, sent from inside to `target` (the main window when null)
    // with its size: the size the window answers, or nothing when it leaves the size to the
    // system.
    std::optional<SIZE> AskDpiScaledSize(UINT dpi, HWND target = nullptr);
    // WM_DPICHANGED for `dpi` with the `suggested` rectangle, sent from inside to `target` (the
    // main window when null); returns once the window has handled it.
    void SendDpiChanged(UINT dpi, const RECT& suggested, HWND target = nullptr);
    // Leaves `key` (VK_MENU or VK_CONTROL) down in the key state of the game's thread without a
    // key message, as a key pressed in another program and held: an Alt+Tab, whose Alt-up goes
    // to the program switched to, or a Ctrl held since before the game had the keyboard.
    void LeaveKeyDown(WORD key);
    void LeaveAltDown() { LeaveKeyDown(VK_MENU); }
    // What a theme or a text size does to the main window: caption and menu `captionGrowth` and
    // `menuGrowth` pixels higher (lower when negative), the frame measured anew at the same outer
    // size, then `message` (WM_SETTINGCHANGE or WM_THEMECHANGED); returns once it is handled.
    void ChangeFrameMetrics(int captionGrowth, int menuGrowth, UINT message);
    // From now on the game's clock moves only by what its waits ask for (see ProbeShared).
    void StopClock() { m_shared->clockStopped = 1; }
    LONG WaitsLogged() const { return m_shared->waitsLogged; }
    // The waits of animations and pauses logged after the first `mark` (WaitsLogged) with the
    // clock stopped, as "+1 16*+16 -288": the milliseconds, "+" for a wait that lets messages
    // through and "-" for one that does not, a run of equal waits as its length and "*".
    std::string WaitsSince(LONG mark) const;
    // The latest texts the game drew with DrawTextA since the DLL was loaded, the latest last.
    std::vector<DrawnText> TextsDrawn() const;
    // Beeps, sounds, file moves and flushes and wait masks since the DLL was loaded, and the
    // current directory then.
    const ProbeShared& Seen() const { return *m_shared; }

private:
    std::vector<std::string> Ask(ProbeRequest request, const char* what);

    HANDLE m_mapping = nullptr;
    HANDLE m_request = nullptr;
    HANDLE m_reply = nullptr;
    ProbeShared* m_shared = nullptr;
};

// === Windows, dialogs and their controls

std::string TextOf(HWND window);
// The frame in screen coordinates.
RECT WindowRect(HWND window);
// The screen less the taskbar: where placements are counted from.
RECT WorkArea();
void CheckClientSize(HWND window, int width, int height, const std::string& when);
// Neither minimised nor maximised, its frame at `topLeft` on the screen, its client area of the
// board and status strip at `scale`.
void CheckShownNormallyAt(HWND window, POINT topLeft, int scale, const std::string& when);
// With the left button, waiting for the sizing or moving loop to start and to end.
void DragFrame(HWND window, POINT from, POINT to, const char* what);
// `how` names what should have closed the window.
void WaitUntilClosed(HWND window, const std::string& how);
// Moves the window sideways so that its client area begins at `screenX`: of a window wider
// than the screen, the part a test looks at comes onto it. (Wine keeps the caption on the
// screen: a move upwards would leave the window where it is while it reports another place.)
void MoveClientLeftTo(HWND window, LONG screenX);

// The "High Scores" window once it is visible; `when` names the moment in a failure.
HWND WaitForHighScoresWindow(const std::string& when);
// A point on the row of rank `rank` (1 to 10) of the list, on the screen, left of its texts' ends.
POINT HighScoresRowPoint(HWND list, int rank);

// Fails when the dialog has no control `id`.
HWND Control(HWND dialog, int id);
// As the mouse gives it: an automatic box or button handles it itself.
void Click(HWND dialog, int id);
void SetText(HWND dialog, int id, const char* text);
// In the dialog's client coordinates.
RECT ClientRectOf(HWND dialog, HWND control);
struct ControlState {
    int id;
    bool checked;
    bool enabled;
};
// Fails with the first control whose state differs.
void CheckControls(HWND dialog, const std::vector<ControlState>& states, const std::string& when);

// === Other programs, such as the kill test's writer

class Program {
public:
    // Returns once the program has written a first line (started again if Wine fails to).
    Program(const std::string& path, const std::vector<std::string>& arguments);
    // Terminates the program if it still runs.
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // TerminateProcess; fails when the program had ended by itself.
    void Kill();

private:
    PROCESS_INFORMATION m_process = {};
};

// === The game: one run of the program, its windows, keys pressed into it and what it shows

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};

// The system icon that a message box shows: "error", "warning", "information", "question",
// "none", or "unrecognised" when its icon is none of these.
std::string MessageBoxIcon(HWND box);

// A dialog opened by a menu item, and CommandsDone before it.
struct MenuDialog {
    HWND window;
    LONG commandsBefore;
};

class Game {
public:
    explicit Game(const Installation& installation);
    Game(const std::string& programPath, const std::string& startDir);
    // Ends the game if it still runs, so that a failure leaves nothing behind.
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    bool IsRunning() const;
    // TerminateProcess, as a crash or the task manager ends it; fails when it had ended.
    void Kill();
    // Fails when the game does not end.
    DWORD WaitForExit(const std::string& after);

    // The window of class "Clankmere" (visible or not), or null.
    HWND FindMainWindow() const;
    // Until it is visible.
    HWND WaitForMainWindow();
    // The same, answering with Enter every note (a box "Message") shown before the window.
    HWND WaitForMainWindowPastNotes();
    // A visible dialog or message box of this process, or null.
    HWND FindMessageBox() const;
    MessageBoxSeen WaitForMessageBox(const std::string& when);
    // Enter, and waits until the box has gone.
    void Dismiss(const MessageBoxSeen& box);
    // Fails unless the box that comes has this caption and text, and the icon the caption calls
    // for (the error icon for "Error" and "Fatal Error", the information icon for "Message");
    // then Dismiss.
    void Answer(const char* caption, const std::string& text, const std::string& when);
    // As a menu does; waits for the dialog `caption` that the item opens.
    MenuDialog OpenFromMenu(int command, const char* caption);
    // Until the dialog's command has returned (and flushed the keyboard); fails on a box.
    void WaitForCommandEnd(const MenuDialog& dialog, const std::string& after);
    // Until a menu of the game's is open (a popup of the menu bar or a context menu); returns
    // it. `after` names what should have opened it.
    Menu WaitForOpenMenu(const std::string& after);
    // Until no menu of the game's is open.
    void WaitForMenuClosed(const std::string& after);
    // Types `path` (empty: the suggested one) into the open file dialog and presses Enter.
    void ChooseFile(const std::string& path, const std::string& command);

    void Focus();
    void Press(WORD vk, unsigned modifiers = kNoModifiers);
    // A key that the accelerators make a command; waits until it has been handled.
    void Command(WORD vk, unsigned modifiers, const std::string& what);
    // Fails unless `command` is the only one handled since `mark` (CommandsDone).
    void CheckOnlyCommandSince(LONG mark, int command, const std::string& what);
    // Loaded on first use.
    ProbeClient& Probe();

    // The main window's client area.
    Picture Capture();
    // Until the texts drawn last into the status line are `expected` (see StatusLineOf); only
    // texts drawn after the probe was loaded count.
    void WaitForStatusLine(const std::string& expected, const std::string& when);
    // The same for a status line whose latest text starts with `prefix`.
    void WaitForStatusLineStarting(const std::string& prefix, const std::string& when,
                                   DWORD timeoutMs = kPatienceMs);
    // Until the board shows `position` from `from` on, at the window's whole-number scale with
    // every pixel an exact block; on failure "board-at-failure.bmp".
    void WaitForBoard(const Position& position, const Picture& sheet, const std::string& when,
                      CellsFrom from = {}, const Backdrop& backdrop = {});

    // Until the board stands still on a position of `recorded`; returns the length of the moves
    // that lead there.
    size_t WaitForBoardOf(const RecordedGame& recorded, const Picture& sheet,
                          const std::string& when);

    // Clicks the check box `control` of Advanced Options, then OK; returns once it is handled.
    void ToggleAdvancedOption(int control);
    // The middle of `cell` on the screen, the window shown at `scale`.
    POINT CellOnScreen(POINT cell, int scale = 1);
    // A point of the main window whose hit test gives `area` (HTCLOSE, HTCAPTION, ...).
    POINT FindFramePoint(LRESULT area, const char* what);
    // Without waiting for the game's next idle second.
    LRESULT SendPromptly(UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND MainWindow();

    PROCESS_INFORMATION m_process = {};
    std::string m_installDir;
    HWND m_mainWindow = nullptr;
    std::unique_ptr<ProbeClient> m_probe;
};

// Fails unless the game ends with the exit code of a normal quit.
void CheckQuitCode(Game& game, const std::string& how);
void QuitWithQ(Game& game);
// The numeric-pad key of a move character ('1' to '9').
WORD NumericPadKey(char move);

// Stores the default preferences and the first `length` moves as the saved game to resume, and
// removes the wallpaper, so that empty cells show the background colour of composed boards.
void PrepareResume(const Installation& installation, const RecordedGame& recorded, size_t length);
Picture SpriteSheetOf(const Installation& installation);
// Removes the wallpaper and stores the default preferences with Windows 98 reported to
// Clankmere9x.exe: the path of that program.
std::string PrepareWin9x(const Installation& installation);

// A game started on a saved game of a record's first moves, once its board shows them.
struct ResumedGame {
    // Resumes the moves before the first played one (or `length`), with `preferences` if given.
    ResumedGame(const Installation& installation, const std::string& name,
                std::optional<size_t> length = {}, const PreferencesRecord* preferences = nullptr);
    void WaitForBoardAfter(size_t length, const std::string& when);

    const RecordedGame recorded;
    const std::string& moves;
    const size_t resumed;
    const Picture sheet;
    Game game;
};

// The waits (ProbeClient::WaitsSince) that `keys`, each a command, ask for in the game resumed
// from the record `name` with `settings`, with its clock stopped before the first key.
std::string WaitsOfKeys(const Installation& installation, const char* name,
                        const Settings& settings, const std::vector<WORD>& keys);

// Game > Where Could I Have Survived? through the menu's keys once the game of the record
// "lost-moment" has ended with its fatal wait after `fatal` moves: waits for the position before
// that wait with the arrows of the three steps that would have survived it, and the verdicts of
// the teleport, the screwdriver and the Last Stand; returns that position.
Position ShowLostMoment(Game& game, const RecordedGame& recorded, size_t fatal,
                        const Picture& sheet, const std::string& when, CellsFrom cells = {});

// File > Save Animation... through the menu's keys, `path` typed into its dialog.
void SaveAnimationThroughMenu(Game& game, const std::string& path, const std::string& when);

// Gives up before a finished game's demo starts.
void WaitForFinalPicture(Game& game, const Picture& expected, const std::string& when);

// === The High Scores list window and file

constexpr uint32_t kHighlight = Rgb(255, 255, 204);
// Waits until the list has been painted (the window appears before its first paint) and the
// picture is steady: the background is filled before the texts are drawn over it.
Picture CaptureList(const char* when);
// The three texts of row i of the list as last drawn, score, name and date, joined by " | ".
std::string RowTexts(Game& game, int index);
void CheckRowBackground(const Picture& list, int index, uint32_t color, const char* when);
// The list without the date of rank 10, the one text that may change from one minute to the
// next.
Picture WithoutLastDate(Picture list);
// Ten rows ending in CR CR LF: the defaults down to Pellwick's at rank 9, and the new score.
void CheckHighScoresFile(const std::string& path, const std::string& name);
// Plays the qualifying game's last `move` (a move character), takes the name the dialog offers
// and closes the list that follows: the picture the game ended on.
Picture EnterOfferedName(Game& game, char move);

// The status line while the listed game of rank 10 is watched, and the band of its row.
constexpr char kWatchingRankTen[] = "centre Watching Blimpers: 40";
constexpr uint32_t kWatchedRowColor = Rgb(204, 232, 255);
// The colour between the score and the name of the row of rank 10.
uint32_t RankTenBand(HWND list);
// Opens the list beside the main window, where the board stays in sight, and chooses the row of
// rank 10 with the arrow keys and Enter or with a double-click, during the step `stepDuring` of
// the game under way if given; returns the list once the row is watched and marked.
HWND WatchRankTen(Game& game, bool byKeys, char stepDuring = 0);

// === Dialogs closed as a player closes them, and what their controls show

// Closes the dialog with a click on `button`, answers the note that settings outside the scoring
// rules bring when `note`, and waits until the command that opened it has ended.
void CloseDialog(Game& game, const MenuDialog& dialog, int button, const char* when,
                 bool note = false);
void CloseDialogWithKey(Game& game, const MenuDialog& dialog, WORD key, const char* when);
void CheckControlText(HWND dialog, int id, const char* expected, const char* when);
// A box or button checked (On) or not (Off), enabled or gray.
constexpr auto On = [](int id) { return ControlState{id, true, true}; };
constexpr auto Off = [](int id) { return ControlState{id, false, true}; };
constexpr auto GrayOn = [](int id) { return ControlState{id, true, false}; };
constexpr auto GrayOff = [](int id) { return ControlState{id, false, false}; };
// Clicks the controls in turn, then checks the states they must leave.
void ClickAndCheck(HWND dialog, const std::vector<int>& clicks,
                   const std::vector<ControlState>& states, const char* when);
// A one-bit picture takes the control's colours: black stays black, white becomes the one
// background colour of the dialog. Empty when `shown` is `expected` pixel for pixel that way.
std::string TwoColourDifference(const Picture& expected, const Picture& shown);
// A pixel of dark text inside the rectangle's outermost pixels.
bool HasDarkPixel(const Picture& picture, const RECT& rect);
// Whether any pixel of `rect` in `picture` is `color`.
bool HasPixelOf(const Picture& picture, const RECT& rect, uint32_t color);

// === Lengths at other dots per inch, and the icons of a program

int ScaledLength(LONG length, UINT dpi);
RECT ScaledRect(RECT rect, UINT dpi);
// Fails unless each edge of the ink at `dpi` lies where its edge at 96 does, scaled, give or
// take what hinting and smoothing change in a font of another size.
void CheckInkScaled(const RECT& at96, const RECT& at, UINT dpi, const char* what);
// The widths of the images in icon group `id` of `module`, in the order the group lists them.
std::vector<int> IconGroupSizes(HMODULE module, int id);
// Icon `id` as the system draws it at `side` pixels, over white.
Picture DrawnIcon(HMODULE module, int id, int side);

// === The High Scores window: 512 x 270 at 96 dots per inch, ten rows of 20 from y = 70

constexpr int kHighScoresWidth = 512;
constexpr int kHighScoresHeight = 270;
constexpr uint32_t kHighScoresBackground = Rgb(240, 240, 240);
// A point of row `index` right of every text, at 96 dots per inch, where only its background
// shows.
POINT HighScoresRowBackground(int index);
// Waits until the window is visible at `scale` times its size and its list painted (the window
// appears before its first paint); with `clientLeft`, moved first to begin there on the screen.
HWND WaitForHighScoresList(int scale, const std::string& when, std::optional<LONG> clientLeft = {});
