// One run of the game under test: its process, its windows, keys pressed into it and what its
// window shows.
#pragma once

#include "Board.h"
#include "Framework.h"
#include "Input.h"
#include "ProbeClient.h"
#include "Records.h"
#include "StoredPreferences.h"

#include <memory>
#include <string>

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};

class Game {
public:
    // Starts the game from its installation folder.
    explicit Game(const TestContext& context);
    // Starts the program at `programPath` in the folder `startDir`.
    Game(const std::string& programPath, const std::string& startDir);
    // Ends the game if it still runs, so that a failed test leaves nothing behind.
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    bool IsRunning() const;
    // The exit code once the game has ended; fails the test when it does not end.
    DWORD WaitForExit(const std::string& after);

    // The window of class "Clankmere" (visible or not), or null.
    HWND FindMainWindow() const;
    // Waits until the main window is visible.
    HWND WaitForMainWindow();
    // A visible dialog or message box of this process, or null.
    HWND FindMessageBox() const;
    MessageBoxSeen WaitForMessageBox(const std::string& when);
    // Presses Enter in the box and waits until it has gone.
    void Dismiss(const MessageBoxSeen& box);

    // Gives the main window the keyboard focus.
    void Focus();
    // Presses a key in the main window.
    void Press(WORD vk, unsigned modifiers = kNoModifiers);
    // Presses a key that the accelerator table turns into a command, and waits until the main
    // window has finished handling that command.
    void Command(WORD vk, unsigned modifiers, const std::string& what);
    // Waits until the main window has handled `command` since `mark` (a CommandsDone() value),
    // and fails unless it is the only command handled since then.
    void CheckOnlyCommandSince(LONG mark, int command, const std::string& what);
    ProbeClient& Probe();

    Picture Capture();
    // Waits until the board area shows `position` in the cells `from` on; fails with the first
    // differing cell and leaves what the window showed in "board-at-failure.bmp" beside the
    // installation.
    void WaitForBoard(const Position& position, const Picture& sheet, const std::string& when,
                      CellsFrom from = {});

    // A point of the main window whose hit test gives `area` (HTCLOSE, HTCAPTION, ...).
    POINT FindFramePoint(LRESULT area, const char* what);
    // SendMessage to the main window, without waiting for the game's next idle second.
    LRESULT SendPromptly(UINT message, WPARAM wParam, LPARAM lParam);

private:
    PROCESS_INFORMATION m_process = {};
    std::string m_installDir;
    HWND m_mainWindow = nullptr;
    std::unique_ptr<ProbeClient> m_probe;
};

// What the game returns after a normal quit.
constexpr DWORD kQuitExitCode = 1;
// Waits for the game to end after `how` and fails unless it ended with kQuitExitCode.
void CheckQuitCode(Game& game, const std::string& how);

// Makes Wine report the Windows version `version` ("win98", "winxp", ...) to the program named
// `program` ("Clankmere.exe") from its next start.
void StoreReportedVersion(const char* program, const char* version);

// Stores the default preferences, so that the game starts without its revert message.
void StoreDefaultPreferences();

// Stores the default preferences (the rules the replay tool plays by) and the first `length`
// moves of `recorded` as the saved game, which the next start resumes. Removes the wallpaper
// from this test's installation, so that empty cells show the plain background colour that
// the expected board pictures are composed on.
void PrepareResume(const TestContext& context, const RecordedGame& recorded, size_t length);

// The sprite sheet of this test's Clankmere.exe.
Picture SpriteSheetOf(const TestContext& context);

// The text of a window or control.
std::string TextOf(HWND window);

// Presses Q and waits for the game to end with kQuitExitCode.
void QuitWithQ(Game& game);

// A game started on a saved game of a record's first moves, once its board shows them.
struct ResumedGame {
    // Resumes the moves before the record's first played one, or its first `length` moves, with
    // the default preferences or `preferences`.
    ResumedGame(const TestContext& context, const std::string& name,
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

// Waits until the window shows `expected`; a finished game starts the demo after eleven quiet
// seconds, so this gives up before, and a failure describes the game's own picture.
void WaitForFinalPicture(Game& game, const Picture& expected, const std::string& when);

// The numeric-pad key of a move character ('1' to '9', in the layout of the pad).
WORD NumericPadKey(char move);
