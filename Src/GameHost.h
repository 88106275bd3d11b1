// The whole seam between the rules and the platform: everything the rules may ask of the
// screen, the speaker, the shell and the record files. The Windows program implements it with
// DirectDraw, GDI and Win32; the replay tool with a null host; the tests with a recorder.
#pragma once

#include <cstdint>

struct Robot;

enum GameSound {
    kSoundRobotDies = 0,
    kSoundIntro = 1,
    kSoundPlayerDies = 2,
    kSoundScrewdriver = 3,
    kSoundTeleport = 4,
    kNumGameSounds = 5,
};

// What stands on the cell that killed the player, for the death scene.
enum KillerKind { kKillerRobot, kKillerHeap };

class CGameHost {
public:
    virtual ~CGameHost() = default;

    // --- Drawing. Cells are board columns and rows; none of these changes the rules' state,
    // except SetRobotStepRects, which fills the robot's two pixel rectangles.

    // The full redraw: background, heaps, robots, player, arrows, status line.
    virtual void RedrawBoard() = 0;
    virtual void DrawStatusLine() = 0;
    // While set, every drawing, presenting and animation step does nothing (a stored game is
    // being replayed at full speed).
    virtual void SetDrawingSuppressed(bool suppressed) = 0;
    virtual void HideArrows() = 0;
    virtual void DrawArrows() = 0;
    // Slides the player one cell from its current cell by (dx, dy).
    virtual void AnimatePlayerStep(int dx, int dy) = 0;
    // Where the player's picture stands from now on.
    virtual void SetPlayerCell(int x, int y) = 0;
    // Draws the player's picture at the cell last given to SetPlayerCell.
    virtual void RedrawPlayer() = 0;
    // Called for every live robot before it takes its step (x, y, dx, dy already hold it).
    virtual void SetRobotStepRects(Robot& robot) = 0;
    // Slides every live robot of the robot list by its step.
    virtual void AnimateRobotSteps() = 0;
    // Runs the explosions over the game's explosion list and leaves heaps on the background.
    virtual void AnimateExplosions() = 0;
    virtual void HighlightKiller(int x, int y, KillerKind kind) = 0;
    virtual void RestoreKiller(int x, int y, KillerKind kind) = 0;
    virtual void AnimatePlayerDeath(int x, int y, bool leaveHeap) = 0;
    virtual void EraseCell(int x, int y) = 0;
    virtual void AnimateTeleport(int fromX, int fromY, int toX, int toY) = 0;
    virtual void AnimateScrewdriver(int effect, int x, int y, int radius) = 0;
    // Makes the stored sprite-set index current when that set is loaded.
    virtual void ApplyIconSet(int32_t index) = 0;
    // Switches to the next loaded sprite set and returns its index.
    virtual int32_t NextIconSet() = 0;
    virtual void DestroyGraphics() = 0;

    // --- Sound: starts one of the five sounds and returns at once.
    virtual void PlaySound(GameSound sound) = 0;

    // --- Shell.
    // A refused action: the error beeps (none in the build for old systems).
    virtual void RefuseAction() = 0;
    // A note to the user: caption "Message", information icon, OK.
    virtual void ShowMessage(const char* text) = 0;
    // The same with OK and Cancel; true for OK.
    virtual bool ConfirmMessage(const char* text) = 0;
    virtual void HideCursor() = 0;
    virtual void ShowCursor() = 0;
    virtual void BringWindowToTop() = 0;
    // Drops every queued key press addressed to the main window.
    virtual void FlushKeyboardInput() = 0;
    // Waits `milliseconds` by the tick count, keeping the window responsive meanwhile.
    virtual void Pause(uint32_t milliseconds) = 0;
    // Seconds since 1970-01-01 00:00 UTC.
    virtual int64_t CurrentTime() = 0;
    // Whether Alt is held on the keyboard now, whatever the window's key state says; asked while
    // the program starts and when the window is closed.
    virtual bool IsAltKeyDown() = 0;
    // Shows the message and ends the process with exit code 1.
    [[noreturn]] virtual void FatalError(const char* text) = 0;
    // The "=" command: the operating system's description in a message box.
    virtual void ShowPlatformDescription() = 0;
    // Runs the Advanced Options dialog, which edits the live preferences.
    virtual void RunAdvancedOptionsDialog() = 0;
    // The window step of quitting: closes the high-score list, stores the main window's
    // placement in the live preferences and asks the main window to close.
    virtual void CloseWindows() = 0;

    // --- Records and high scores.
    virtual void LoadHighScores() = 0;
    virtual bool ScoreQualifies(int32_t score) = 0;
    // Offers `name` (32 bytes) for editing and leaves the name entered in it.
    virtual void AskPlayerName(char* name) = 0;
    virtual void WriteHighScoreGameRecord(uint64_t startTime, uint32_t score,
                                          const char* moves) = 0;
    virtual void InsertHighScore(int32_t score, const char* name, int16_t level, int64_t date) = 0;
    // Repaints the list window if it is open, then shows it.
    virtual void ShowHighScores() = 0;
    virtual void ResetHighScores() = 0;
    virtual void SaveHighScores() = 0;
    virtual void WriteLastGameRecord(uint64_t startTime, uint32_t score, const char* moves) = 0;
    virtual void SaveGameInProgress(uint64_t startTime, uint32_t score, const char* moves) = 0;
};
