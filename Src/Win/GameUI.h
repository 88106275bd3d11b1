// The window context and the shell's services: the main window's handles, the cursor rule, the
// message pump that long animations call, and the Windows side of the seam through which the
// rules reach the screen, the speaker and the shell.
#pragma once

#include "Game.h"
#include "GameGraphics.h"
#include "HighScoreTable.h"

#include <windows.h>

class CGameUI {
public:
    HINSTANCE m_hInstance = nullptr;
    HWND m_hWnd = nullptr;
    HACCEL m_hAccel = nullptr;
    // Whether the program shows the mouse cursor; the system's display count follows it.
    BOOL m_cursorVisible = TRUE;

    void HideCursor();
    void ShowCursor();
    // Drops every queued key press addressed to the main window.
    void FlushKeyboardInput();
    // Dispatches every message already queued for the thread, then returns.
    void PumpMessages();
    // Waits until the tick count passes `deadline`, dispatching messages meanwhile.
    void WaitPastTick(DWORD deadline);

private:
    // Set once the pump has met the quit request: it is handed back to the main loop, and
    // later waits sleep instead of meeting it again and again.
    bool m_quitPending = false;
};

// Shows the text once per run and ends the process with exit code 1.
[[noreturn]] void FatalError(const char* text);
// The milliseconds clock of every wait and animation. It moves every millisecond, where the
// system's tick count moves in steps of 10 to 16 ms, too coarse for frames of 8 and 16 ms.
DWORD TickCount();
// Waits until the tick count passes `deadline` without dispatching anything.
void SleepPastTick(DWORD deadline);

// The stored form of a window placement and the system's.
static_assert(sizeof(WINDOWPLACEMENT) == kWindowPlacementSize, "the stored placement layout");
WindowPlacement FromWin32(const WINDOWPLACEMENT& placement);
WINDOWPLACEMENT ToWin32(const WindowPlacement& stored);

// Brings the menu bar into line with the game: the About text, the Sound check mark, the
// actions grayed between games and Save Animation grayed while the board shows no action.
void UpdateMenus(HWND hWnd, const CGame& game);

// A window class of this program: the robot icons, the arrow cursor, the window colour.
WNDCLASSEXA RobotWindowClass(HINSTANCE hInstance, WNDPROC procedure, const char* className);

class CWinGameHost final : public CGameHost {
public:
    explicit CWinGameHost(CGame& game);

    CGameUI& UI() { return m_ui; }
    CGameGraphics& Graphics() { return m_graphics; }
    const CHighScoreTable& HighScores() const { return m_highScores; }

    void RedrawBoard() override { m_graphics.RedrawBoard(); }
    void DrawStatusLine() override { m_graphics.DrawStatusLine(); }
    void SetDrawingSuppressed(bool suppressed) override {
        m_graphics.m_suppressDrawing = suppressed;
    }
    void HideArrows() override { m_graphics.HideArrows(); }
    void DrawArrows() override { m_graphics.DrawArrows(); }
    void AnimatePlayerStep(int dx, int dy) override { m_graphics.AnimatePlayerStep(dx, dy); }
    void SetPlayerCell(int x, int y) override { m_graphics.SetPlayerCell(x, y); }
    void RedrawPlayer() override { m_graphics.RedrawPlayer(); }
    // The rectangles serve the step's animation alone, which a game replayed unseen skips.
    void SetRobotStepRects(Robot& robot) override {
        if (!m_graphics.m_suppressDrawing) {
            ComputeRobotStepRects(robot);
        }
    }
    void AnimateRobotSteps() override { m_graphics.AnimateRobotSteps(); }
    void AnimateExplosions() override { m_graphics.AnimateExplosions(); }
    void HighlightKiller(int x, int y, KillerKind kind) override {
        m_graphics.HighlightKiller(x, y, kind);
    }
    void RestoreKiller(int x, int y, KillerKind kind) override {
        m_graphics.RestoreKiller(x, y, kind);
    }
    void AnimatePlayerDeath(int x, int y, bool leaveHeap) override {
        m_graphics.AnimatePlayerDeath(x, y, leaveHeap);
    }
    void EraseCell(int x, int y) override { m_graphics.EraseCell(x, y); }
    void AnimateTeleport(int fromX, int fromY, int toX, int toY) override {
        m_graphics.AnimateTeleport(fromX, fromY, toX, toY);
    }
    void AnimateScrewdriver(int effect, int x, int y, int radius) override {
        m_graphics.AnimateScrewdriver(effect, x, y, radius);
    }
    void ApplyIconSet(int32_t index) override { m_graphics.ApplyIconSet(index); }
    int32_t NextIconSet() override { return m_graphics.NextIconSet(); }
    void DestroyGraphics() override { m_graphics.DestroyGraphics(); }

    void PlaySound(GameSound sound) override;

    void RefuseAction() override;
    void ShowMessage(const char* text) override;
    bool ConfirmMessage(const char* text) override;
    void HideCursor() override { m_ui.HideCursor(); }
    void ShowCursor() override { m_ui.ShowCursor(); }
    void BringWindowToTop() override;
    void FlushKeyboardInput() override { m_ui.FlushKeyboardInput(); }
    void Pause(uint32_t milliseconds) override;
    int64_t CurrentTime() override;
    bool IsAltKeyDown() override;
    [[noreturn]] void FatalError(const char* text) override { ::FatalError(text); }
    void CloseWindows() override;

    // The Advanced Options dialog over the main window (AdvancedOptionsDlg.cpp).
    void RunAdvancedOptionsDialog() override;

    // Game records and the platform description (SavedGames.cpp).
    void ShowPlatformDescription() override;
    void WriteLastGameRecord(uint64_t startTime, uint32_t score, const char* moves) override;
    void SaveGameInProgress(uint64_t startTime, uint32_t score, const char* moves) override;

    // The high-score table, the name dialog and the list window (HighScore.cpp).
    void LoadHighScores() override;
    bool ScoreQualifies(int32_t score) override;
    void AskPlayerName(char* name) override;
    void WriteHighScoreGameRecord(uint64_t startTime, uint32_t score, const char* moves) override;
    void InsertHighScore(int32_t score, const char* name, int16_t level, int64_t date) override;
    void ShowHighScores() override;
    void ResetHighScores() override;
    void SaveHighScores() override;

private:
    HWND MessageOwner() const;

    CGame& m_game;
    CGameUI m_ui;
    CGameGraphics m_graphics;
    CHighScoreTable m_highScores;
};

// The one game of the process and the host it plays through; both exist before WinMain runs.
extern CGame g_game;
extern CWinGameHost g_host;
