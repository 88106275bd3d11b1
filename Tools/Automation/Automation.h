// Driving Clankmere.exe from outside, under Wine, the way a player does: start it, find its
// windows and boxes, press real keys, click, look at the pixels of its window, and read or
// prepare what it keeps in its files and in the registry. Used by the end-to-end tests, the
// benchmarks under Wine and the screenshot of `make run`.
//
// Every call either does what it promises or throws Failure with a sentence that says where
// and why; waits poll for their effect and give up after kPatienceMs.
#pragma once

#include "Probe/ProbeProtocol.h"

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

// ---------------------------------------------------------------------------------------------
// Failures and waiting
// ---------------------------------------------------------------------------------------------

class Failure : public std::exception {
public:
    explicit Failure(std::string what) : m_what(std::move(what)) {}
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    std::string m_what;
};

// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
// Throws Failure with the formatted sentence.
[[noreturn]] void Fail(const char* format, ...)
    __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));

// How long a wait gives up after: what is awaited normally comes within a few hundred ms.
constexpr DWORD kPatienceMs = 20000;
// Polls `condition` every `pollMs` until it holds; false when the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kPatienceMs,
               DWORD pollMs = 15);

// ---------------------------------------------------------------------------------------------
// Keys and mouse: real input through SendInput, with virtual-key codes (Wine ignores input
// given by scan code alone) and modifiers as key presses of their own
// ---------------------------------------------------------------------------------------------

enum Modifiers : unsigned {
    kNoModifiers = 0,
    kShift = 1,
    kCtrl = 2,
    kAlt = 4,
};

void KeyDown(WORD vk);
void KeyUp(WORD vk);
// KeyUp for clean-up paths: never fails.
void ReleaseKey(WORD vk) noexcept;
// Presses the modifiers, presses and releases `vk`, releases the modifiers.
void PressKey(WORD vk, unsigned modifiers = kNoModifiers);
// Types plain text (letters, digits, blanks and punctuation) with the keys that make it.
void TypeText(const std::string& text);
// Holds a key down until the end of the scope, also when a failure ends the scope.
class HeldKey {
public:
    explicit HeldKey(WORD vk) : m_vk(vk) { KeyDown(vk); }
    ~HeldKey() { ReleaseKey(m_vk); }
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;

private:
    WORD m_vk;
};
// Makes `window` the foreground window with the keyboard focus; `what` names it in a failure.
void BringToFront(HWND window, const char* what);
// Switches NumLock on unless it is on, so that the numeric pad types digits.
void EnsureNumLockOn();

// The mouse, at screen coordinates, with the left button.
void MouseDown(POINT at);
void MouseMoveTo(POINT at);
void MouseUp(POINT at);
void ClickAt(POINT at);

// ---------------------------------------------------------------------------------------------
// Pictures: pixels as the screen shows them, 0x00RRGGBB, rows from the top
// ---------------------------------------------------------------------------------------------

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

// The window's client area as the screen shows it (PrintWindow misses what DirectDraw shows).
Picture CaptureClient(HWND window);
// A bitmap loaded as the game loads it: `file`, else resource `resourceId` of `module`.
Picture LoadBitmapPicture(const std::string& file, const std::string& module, int resourceId,
                          int width, int height);
// Writes the picture as a 24-bit BMP file.
void SavePicture(const Picture& picture, const std::string& path);
// The part of the picture inside `rect`.
Picture Crop(const Picture& picture, const RECT& rect);
// Waits until the client area has stood still for `stillMs`, and returns it.
Picture WaitForSteadyPicture(HWND window, DWORD stillMs = 300);

// Milliseconds from the performance counter, for timing what the screen shows.
double NowMs();
// Rectangles of a client area copied again on every Read, fast enough to time animations.
class RegionWatcher {
public:
    RegionWatcher(HWND window, const std::vector<RECT>& regions);
    ~RegionWatcher();
    RegionWatcher(const RegionWatcher&) = delete;
    RegionWatcher& operator=(const RegionWatcher&) = delete;

    // For every region, whether its pixels differ from the last Read (or from black at first).
    std::vector<bool> Read();

private:
    struct Copy {
        RECT rect;
        HBITMAP bitmap;
        const DWORD* bits;
        std::vector<DWORD> last;
    };

    HWND m_window;
    HDC m_windowDC;
    HDC m_memoryDC;
    std::vector<Copy> m_copies;
};

// ---------------------------------------------------------------------------------------------
// The board: positions as the replay tool prints them, and the picture a full redraw of one
// gives, composed from the sprite sheet over the plain background colour
// ---------------------------------------------------------------------------------------------

constexpr int kColumns = 31;
constexpr int kRows = 18;
constexpr int kCellPixels = 16;
constexpr int kBoardWidth = kColumns * kCellPixels;
// The board area is four pixel rows taller than its cells: animation frames hang below them.
constexpr int kBoardHeight = kRows * kCellPixels + 4;
constexpr int kClientWidth = 496;
constexpr int kClientHeight = 322;
constexpr uint32_t kBackgroundColor = Rgb(220, 255, 220);

// Whether the game is over, and the board's rows: '.' empty, '1' robot, 'A' player, 'S' heap.
struct Position {
    bool over = false;
    char cells[kRows][kColumns + 1] = {};

    char At(int x, int y) const { return cells[y][x]; }
};

// Reads what the replay tool printed into `path`.
Position LoadPosition(const std::string& path);
constexpr bool OnBoard(int x, int y) {
    return x >= 0 && y >= 0 && x < kColumns && y < kRows;
}
// The player's cell; fails when the position has none.
POINT PlayerCell(const Position& position);
// The cells around the player that show an arrow: those on the board that are empty.
std::vector<POINT> ArrowCells(const Position& position);
// The cell a move character ('1' to '9', laid out as the numeric pad) steps to from `cell`.
POINT StepTarget(POINT cell, char move);
// The screen point at the middle of a board cell of the game's window.
POINT CellOnScreen(HWND window, POINT cell);

// The first icon set: "Graphics\GameIcons 1.bmp", else the bitmap built into `gamePath`.
Picture LoadSpriteSheet(const std::string& installDir, const std::string& gamePath);
// An icon of the sprite image: its top-left corner and its height (every icon is 16 wide).
struct Sprite {
    POINT at;
    int height;
};
// Draws the icon with its top-left corner at pixel (x, y), leaving out its key colour.
void DrawSprite(Picture& target, const Picture& sheet, const Sprite& sprite, int x, int y);
// The board area after a full redraw of `position`: arrows, no grid, no wallpaper.
Picture ComposeBoard(const Position& position, const Picture& sheet);

// The cells a comparison looks at: those from a first column and a first row on.
struct CellsFrom {
    int column = 0;
    int row = 0;
};
// Empty when the board areas agree from `from` on, else the first pixel that differs and why.
std::string FirstBoardDifference(const Picture& expected, const Picture& found,
                                 const Position* position = nullptr, CellsFrom from = {});

constexpr Sprite kRobotSprite = {{128, 0}, kCellPixels};
// Explosion and death frames are 20 pixels high and hang below the cell.
constexpr int kFrameHeight = 20;
constexpr Sprite ExplosionFrame(int k) {
    return {{kCellPixels * k, 32}, kFrameHeight};
}
constexpr Sprite DeathFrame(int k) {
    return {{kCellPixels * k, 72}, kFrameHeight};
}
constexpr int kLastDeathFrame = 7;

// The game's canvas (background and heaps) and back buffer after a full redraw, then changed
// step by step as the game draws: the picture after scenes such as a death.
class Scene {
public:
    Scene(const Position& position, const Picture& sheet);

    // Copies the rectangle from the canvas onto the back buffer.
    void Erase(const RECT& rect);
    void EraseCell(int x, int y) { Erase(CellArea(x, y, kCellPixels)); }
    // Erases the cells of the movement arrows around the player of the position.
    void EraseArrows(const Position& position);
    // Draws the icon with its top-left corner at the cell's top-left corner.
    void Draw(const Sprite& sprite, int x, int y);

    const Picture& BackBuffer() const { return m_back; }
    static RECT CellArea(int x, int y, int height);

private:
    const Picture& m_sheet;
    Picture m_canvas;
    Picture m_back;
};

// ---------------------------------------------------------------------------------------------
// Game records and the data folder
// ---------------------------------------------------------------------------------------------

struct GameRecord {
    unsigned long startTime = 0;
    std::string moves;
};

// Nothing when the file is missing or has no "Time:" or "Moves:" line.
std::optional<GameRecord> ReadGameRecord(const std::string& path);
// Writes the record as the game writes a saved game on Windows.
void WriteGameRecord(const std::string& path, const GameRecord& record);
// "%APPDATA%\Clankmere\<fileName>" of this prefix's user; makes the folder.
std::string DataFilePath(const std::string& fileName);
bool FileExists(const std::string& path);
// The whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Fails unless `path` holds the start time and actions of `expected` (blanks do not count).
void CheckSameGame(const std::string& path, const GameRecord& expected, const std::string& what);
// The moves of a record without the level separators ". " that the game writes into its log.
std::string ActionsOf(const std::string& moves);

// A copy of the game, and the records with positions that e2e_replay_positions (wine-env.sh) made.
struct Installation {
    std::string gamePath;
    std::string installDir;
    std::string gamesDir;
};

// A record "<gamesDir>\<name>.txt" with the position "<name>.<k>.board" after each prefix.
class RecordedGame {
public:
    RecordedGame(const Installation& installation, const std::string& name);

    const GameRecord& Record() const { return m_record; }
    // The index of the first move played with keys: the one after the record's last blank.
    size_t FirstPlayedMove() const;
    // The record cut after its first `length` moves.
    GameRecord Prefix(size_t length) const;
    // Where those moves lead, according to the replay tool.
    Position PositionAfter(size_t length) const;

private:
    std::string m_base;
    GameRecord m_record;
};

// ---------------------------------------------------------------------------------------------
// The stored settings: the record the game keeps in the registry value "Data" under
// HKCU\Software\Clankmere\Preferences, 196 bytes, little-endian
// ---------------------------------------------------------------------------------------------

using PreferencesRecord = std::vector<uint8_t>;

constexpr size_t kPreferencesSize = 196;
// The settings block ends here; the two window placements and an end marker follow.
constexpr size_t kSettingsSize = 104;
constexpr size_t kPlayerNameOffset = 12;
constexpr size_t kMainWindowPlacementOffset = 104;
constexpr size_t kHighScoresPlacementOffset = 148;

// What a record holds after a revert to the defaults (no window placements stored).
PreferencesRecord DefaultPreferences();
// Sets the number field `name` of the record's layout ("m_teleportRule", ...).
void PutField(PreferencesRecord& record, const char* name, int64_t value);
// PutField for each name and value.
void PutFields(PreferencesRecord& record,
               std::initializer_list<std::pair<const char*, int64_t>> values);
WINDOWPLACEMENT GetPlacement(const PreferencesRecord& record, size_t offset);
void PutPlacement(PreferencesRecord& record, size_t offset, const WINDOWPLACEMENT& placement);
void PutPlayerName(PreferencesRecord& record, const char* name);

struct StoredValue {
    DWORD type = REG_NONE;
    PreferencesRecord bytes;
};
// Nothing when the key or the value does not exist.
std::optional<StoredValue> ReadStoredPreferences();
// The stored record; fails unless it is a REG_BINARY value of 196 bytes.
PreferencesRecord ReadStoredRecord(const std::string& when);
void StorePreferences(const PreferencesRecord& record);
// Stores the default preferences, so that the game starts without its revert message.
void StoreDefaultPreferences();
// The first field in [from, to) that differs, by name and with both values; empty if none.
std::string FirstFieldDifference(const PreferencesRecord& expected, const PreferencesRecord& found,
                                 size_t from = 0, size_t to = kPreferencesSize);
// Fails unless the stored record's fields in [from, to) are those of `expected`.
void CheckStoredPreferences(const PreferencesRecord& expected, const std::string& when,
                            size_t from = 0, size_t to = kPreferencesSize);
// Makes Wine report `version` ("win98", ...) to `program` ("Clankmere.exe") from its next start.
void StoreReportedVersion(const char* program, const char* version);

// ---------------------------------------------------------------------------------------------
// The probe: a DLL loaded into the game (Probe/ProbeDll.cpp) that reads its menus, tells when
// a command has been handled completely, and counts its beeps, its sounds and the masks of its
// waits
// ---------------------------------------------------------------------------------------------

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
    // Loads clankmere-probe.dll (beside this program) into the game, once its window exists.
    ProbeClient(HANDLE process, DWORD pid);
    ~ProbeClient();
    ProbeClient(const ProbeClient&) = delete;
    ProbeClient& operator=(const ProbeClient&) = delete;

    // How many WM_COMMAND messages the main window has finished handling.
    LONG CommandsDone() const { return m_shared->commandsDone; }
    // The identifiers of those handled after the first `mark`, in order.
    std::vector<int> CommandsSince(LONG mark) const;
    // The menu bar with every item's text and state.
    std::vector<Menu> ReadMenus();
    // "label <caption>|<text>|<pixels needed>|<pixels it has>" per dialog label (ProbeProtocol.h).
    std::vector<std::string> ReadDialogLabels();
    // The beeps, sounds and wait masks seen since the DLL was loaded, and the current directory
    // then.
    const ProbeShared& Seen() const { return *m_shared; }

private:
    std::string Ask(ProbeRequest request, const char* what);

    HANDLE m_mapping = nullptr;
    HANDLE m_request = nullptr;
    HANDLE m_reply = nullptr;
    ProbeShared* m_shared = nullptr;
};

// The menu bar as text, for failure messages.
std::string DescribeMenus(const std::vector<Menu>& menus);

// ---------------------------------------------------------------------------------------------
// Windows, dialogs and their controls
// ---------------------------------------------------------------------------------------------

// The text of a window or control.
std::string TextOf(HWND window);
// Fails unless the window's client area is width x height.
void CheckClientSize(HWND window, int width, int height, const std::string& when);
// Drags with the left button, waiting for the sizing or moving loop to start and to end.
void DragFrame(HWND window, POINT from, POINT to, const char* what);
// Waits until the window has gone; `how` names what should have closed it.
void WaitUntilClosed(HWND window, const std::string& how);

// The control `id` of the dialog; fails when it has none.
HWND Control(HWND dialog, int id);
// A click as the mouse gives it: an automatic box or button handles it itself.
void Click(HWND dialog, int id);
// Replaces the text of an edit control.
void SetText(HWND dialog, int id, const char* text);
// The control's rectangle in the dialog's client coordinates.
RECT ClientRectOf(HWND dialog, HWND control);
// A box or button of a dialog, whether it is checked, and whether it is enabled.
struct ControlState {
    int id;
    bool checked;
    bool enabled;
};
// Fails with the first control whose state differs.
void CheckControls(HWND dialog, const std::vector<ControlState>& states, const std::string& when);

// ---------------------------------------------------------------------------------------------
// Other programs, such as the kill test's writer
// ---------------------------------------------------------------------------------------------

class Program {
public:
    // Starts `path` (again if Wine fails to) and returns once it has written a first line.
    Program(const std::string& path, const std::vector<std::string>& arguments);
    // Terminates the program if it still runs.
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Ends the program at once with TerminateProcess; fails when it had ended by itself.
    void Kill();

private:
    void Close();

    PROCESS_INFORMATION m_process = {};
};

// ---------------------------------------------------------------------------------------------
// The game: one run of the program, its windows, keys pressed into it and what it shows
// ---------------------------------------------------------------------------------------------

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};
// Fails unless the box has this caption and text.
void CheckBox(const MessageBoxSeen& box, const char* caption, const std::string& text);

// A dialog opened by a menu item, and the count of commands handled before it (CommandsDone).
struct MenuDialog {
    HWND window;
    LONG commandsBefore;
};

// What the game returns after a normal quit.
constexpr DWORD kQuitExitCode = 1;

class Game {
public:
    // Starts the game from its installation folder.
    explicit Game(const Installation& installation);
    // Starts the program at `programPath` in the folder `startDir`.
    Game(const std::string& programPath, const std::string& startDir);
    // Ends the game if it still runs, so that a failure leaves nothing behind.
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    bool IsRunning() const;
    // The exit code once the game has ended; fails when it does not end.
    DWORD WaitForExit(const std::string& after);

    // The window of class "Clankmere" (visible or not), or null.
    HWND FindMainWindow() const;
    // Waits until the main window is visible.
    HWND WaitForMainWindow();
    // The same, answering with Enter every note (a box "Message") shown before the window.
    HWND WaitForMainWindowPastNotes();
    // A visible dialog or message box of this process, or null.
    HWND FindMessageBox() const;
    // Waits for a box and reads its caption and text.
    MessageBoxSeen WaitForMessageBox(const std::string& when);
    // Presses Enter in the box and waits until it has gone.
    void Dismiss(const MessageBoxSeen& box);
    // Waits for a box, fails unless it has this caption and text, and presses Enter in it.
    void Answer(const char* caption, const std::string& text, const std::string& when);
    // Chooses a menu item as a menu does, and waits for the dialog `caption` that it opens.
    MenuDialog OpenFromMenu(int command, const char* caption);
    // Waits until the dialog's command has returned (and flushed the keyboard); fails on a box.
    void WaitForCommandEnd(const MenuDialog& dialog, const std::string& after);
    // Types `path` (empty: the suggested one) into the open file dialog and presses Enter.
    void ChooseFile(const std::string& path, const std::string& command);

    // Gives the main window the keyboard focus.
    void Focus();
    // Presses a key in the main window.
    void Press(WORD vk, unsigned modifiers = kNoModifiers);
    // Presses a key that the accelerators make a command, and waits until it has been handled.
    void Command(WORD vk, unsigned modifiers, const std::string& what);
    // Waits for `command` since `mark` (CommandsDone), and fails unless it is the only one.
    void CheckOnlyCommandSince(LONG mark, int command, const std::string& what);
    // The probe, loaded on first use.
    ProbeClient& Probe();

    // The main window's client area.
    Picture Capture();
    // Waits until the board shows `position` from `from` on; on failure "board-at-failure.bmp".
    void WaitForBoard(const Position& position, const Picture& sheet, const std::string& when,
                      CellsFrom from = {});

    // The game's CPU time (user and kernel) so far in ms, from /proc under Wine.
    double CpuMs();

    // A point of the main window whose hit test gives `area` (HTCLOSE, HTCAPTION, ...).
    POINT FindFramePoint(LRESULT area, const char* what);
    // SendMessage to the main window, without waiting for the game's next idle second.
    LRESULT SendPromptly(UINT message, WPARAM wParam, LPARAM lParam);

private:
    PROCESS_INFORMATION m_process = {};
    std::string m_programPath;
    std::string m_installDir;
    std::optional<std::string> m_statPath;
    HWND m_mainWindow = nullptr;
    std::unique_ptr<ProbeClient> m_probe;
};

// Waits for the game to end after `how` and fails unless it ended with kQuitExitCode.
void CheckQuitCode(Game& game, const std::string& how);
// Presses Q and waits for the game to end with kQuitExitCode.
void QuitWithQ(Game& game);
// The numeric-pad key of a move character ('1' to '9', in the layout of the pad).
WORD NumericPadKey(char move);

// Stores the default preferences and the first `length` moves as the saved game to resume, and
// removes the wallpaper, so that empty cells show the background colour of composed boards.
void PrepareResume(const Installation& installation, const RecordedGame& recorded, size_t length);
// The sprite sheet of the installation's Clankmere.exe.
Picture SpriteSheetOf(const Installation& installation);

// A game started on a saved game of a record's first moves, once its board shows them.
struct ResumedGame {
    // Resumes the moves before the first played one (or `length`), with `preferences` if given.
    ResumedGame(const Installation& installation, const std::string& name,
                std::optional<size_t> length = {}, const PreferencesRecord* preferences = nullptr);
    // Waits until the board shows the position after the record's first `length` moves.
    void WaitForBoardAfter(size_t length, const std::string& when);
    // Plays move `index` of the record with its numeric-pad key and waits for its board.
    void Play(size_t index, const std::string& what);

    const RecordedGame recorded;
    const std::string& moves;
    const size_t resumed;
    const Picture sheet;
    Game game;
};

// Waits until the window shows `expected`, giving up before a finished game's demo starts.
void WaitForFinalPicture(Game& game, const Picture& expected, const std::string& when);
