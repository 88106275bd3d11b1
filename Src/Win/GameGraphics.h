// The game's one drawing object: the display and every surface, the tables that cut icons out
// of the sprite image, the board's geometry, the fonts, the frame drawing, the status line,
// the movement arrows and every animation.
#pragma once

#include "Game.h"
#include "SmolderingHeaps.h"
#include "ddutil.h"

#include <windows.h>

class CGameUI;
class CLostMoment;

constexpr int kGridIconWidth = 16;
constexpr int kGridIconHeight = 16;
constexpr int kNumGridImages = 5;
constexpr int kMaxGameIconSets = 10;
constexpr int kNumArrows = 8;
constexpr int kNumExplosionFrames = 7;
constexpr int kNumDeathFrames = 8;
// The sprite set shown in the plain black-on-white scheme.
constexpr int kPlainIconSet = 1;

// The timer that tries again to get a lost display back.
constexpr UINT_PTR kRecoveryTimer = 1;

// What the test-only fault switch makes go wrong on the way back from a lost display, besides
// the loss itself: the surfaces lost again at the first present of the recovery's redraw, the
// surfaces of the display made again failing, or one picture failing to load (picture k of
// kTestPictureFails + k: sprite set k + 1 for k below kMaxGameIconSets, then the grid image, then
// the wallpaper). Each happens once.
enum TestRecoveryFault : int {
    kTestNoFault = 0,
    kTestLostAgainInRedraw = 1,
    kTestRebuildFails = 2,
    kTestPictureFails = 3,
};
constexpr int kTestGridPicture = kMaxGameIconSets;
constexpr int kTestWallpaperPicture = kMaxGameIconSets + 1;

// The arrows around the player, in index order, and the step each one makes.
struct ArrowStep {
    int dx;
    int dy;
};
constexpr ArrowStep kArrowSteps[kNumArrows] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                               {1, 0},   {-1, 1}, {0, 1},  {1, 1}};

class CGameGraphics {
public:
    CGameGraphics(CGame& game, CGameUI& ui);
    ~CGameGraphics();
    CGameGraphics(const CGameGraphics&) = delete;
    CGameGraphics& operator=(const CGameGraphics&) = delete;

    // --- Images and surfaces (GameGraphics.cpp).
    // kNoDirectDraw7 when the system has no DirectDraw 7; any other failure is named in a
    // message first.
    HRESULT InitGraphics(HWND hWnd);
    void CreateFonts();
    void DestroyGraphics();
    bool HasDisplay() const { return m_pDisplay != nullptr; }
    void RefreshWindowRect();
    // The scale the frame is shown at: mouse positions are divided by it.
    int Scale() const { return m_pDisplay ? m_pDisplay->Scale() : 1; }
    void FitWindowToDpi(UINT dpi, const RECT& area);
    void RefreshPalette();
    void ApplyIconSet(int32_t index);
    int32_t NextIconSet();
    // The text fonts, which the high-score list draws with too.
    HFONT NormalFont() const { return m_hFontNormal; }
    HFONT BoldFont() const { return m_hFontBold; }
    HFONT BoldUnderlineFont() const { return m_hFontBoldUnderline; }
    HFONT LargeFont() const { return m_hFontLarge; }

    // --- Frames, status line and arrows (GameDrawing.cpp).
    void RedrawBoard();
    void DrawStatusLine();
    void SetPlayerCell(int x, int y);
    void RedrawPlayer();
    void EraseCell(int x, int y);
    void HighlightKiller(int x, int y, KillerKind kind);
    void RestoreKiller(int x, int y, KillerKind kind);
    void ComputeArrows();
    void DrawArrows();
    void HideArrows();
    void InvertTarget(const RECT& rect);
    // Shows the back buffer in the window. Every frame goes through here, also a repaint; when
    // the platform has taken the surfaces away, they are restored and the whole board is drawn
    // again, which presents it anew. A display that still needs recovering shows nothing.
    void Present();
    // For the recovery timer: a display still lost is tried again.
    void RetryRecovery();
    // Whether the heaps smolder now: the option is on, the board is at rest and can be seen.
    bool HeapsSmolder() const;
    // Every heap cell shows its smoldering frame for the tick `tickMs`; one present.
    void DrawSmolderingHeaps(uint32_t tickMs);
    // Test-only fault switch: blanks every surface and makes the present after the next
    // `presentsBefore` report them lost, in the way `loss` says, as a real desktop does; the
    // recovery then meets `fault`.
    void LoseSurfacesForTest(TestSurfaceLoss loss, int presentsBefore, int fault);

    // --- The moment a finished game was lost (GameDrawing.cpp).
    // Shows `moment` in place of the final position, which is kept to come back pixel for pixel.
    void ShowLostMoment(const CLostMoment& moment);
    // Brings the final position back; also after the display was lost meanwhile, then redrawn.
    void HideLostMoment();
    // Until HideLostMoment or a full redraw of another game than the one whose moment it is.
    bool ShowsLostMoment() const;

    // --- Animations (GameAnimation.cpp).
    void AnimatePlayerStep(int dx, int dy);
    void AnimateRobotSteps();
    void AnimateExplosions();
    void AnimatePlayerDeath(int x, int y, bool leaveHeap);
    void AnimateTeleport(int fromX, int fromY, int toX, int toY);
    void AnimateScrewdriver(int effect, int x, int y, int radius);

    bool m_suppressDrawing = false;
    // Where each arrow stands on the canvas; a right edge of 0 means the arrow is not shown.
    RECT m_arrowDstRects[kNumArrows] = {};
    RECT m_playerDstRect = {};

private:
    HRESULT LoadSpriteImages();
    HRESULT LoadSpriteSet(int slot);
    HRESULT LoadGridImages();
    HRESULT LoadWallpaper();
    HRESULT LoadBackground();
    void FillBackground();
    void DrawWallpaper();
    void DrawGrid();
    HRESULT CreateSurfaces(const char*& failedStep);
    HRESULT DrawWholeBoard();
    void NoteLoss(HRESULT presented);
    void RecoverLostDisplay();
    HRESULT RestoreSurfaces();
    HRESULT RebuildDisplay();
    void ScheduleRecovery();
    bool IsTakenAsMissing(HRESULT hr) const;
    bool TakeTestFault(int fault);
    void BlankSurfacesForTest();
    void ReleaseSurfaces();
    void ReleaseSpriteImages();

    // Whether animations run: not while a game is replayed unseen, nor once the display has gone
    // with the program's end.
    bool Animates() const { return !m_suppressDrawing && m_pDisplay; }
    // A display whose surfaces could not be made again draws nothing until the recovery has
    // made them; its animations keep their time.
    bool CanDraw() const { return Animates() && m_pBackgroundSurface; }
    bool IsPlainScheme() const { return m_currentGameIconSet == kPlainIconSet; }
    CSurface* Sprites() const { return m_pSpriteImageSurface[m_currentGameIconSet]; }
    void DrawSprite(LONG x, LONG y, const RECT& src);
    void DrawSpriteToBackground(const RECT& src, const RECT& dst);
    void RedrawCell(const RECT& dst, const RECT& src);
    void EraseRect(const RECT& rect);
    void EraseCellRect(const RECT& rect);
    void DrawShape(const RECT& rect, char shape, int mixMode, COLORREF color, int penStyle,
                   int stockBrush);
    // The board drawn: the game's, or while the lost moment is shown, the position of that.
    const CGame& Board() const;
    void DrawHeapsOnBackground();
    void DrawRobots();
    void DrawPlayer();
    void DrawArrowIcons();
    void DrawSurvivingMoves();
    void DrawStatusTexts(HDC hdc);
    void DrawLostMomentTexts(HDC hdc);
    void KeepFinalPicture();
    void ReleaseFinalPicture();
    void DrawTeleportRings(const RECT& cell, int firstGrowth, int growthStep, DWORD& tick);
    void DrawTeleportRing(const RECT& cell, int growth);
    void DrawRobotStepFrame();
    void DrawScrewdriverOutlines(const RECT& square, int radius);
    void InvertScrewdriverEllipse(const RECT& square);
    void EraseScrewdriverSquare(const RECT& square);

    CGame& m_game;
    CGameUI& m_ui;
    HWND m_hWindow = nullptr;
    CDisplay* m_pDisplay = nullptr;
    CSurface* m_pSpriteImageSurface[kMaxGameIconSets] = {};
    CSurface* m_pGridImageSurface = nullptr;
    CSurface* m_pTextSurface = nullptr;
    CSurface* m_pBackgroundSurface = nullptr;
    CSurface* m_pWallpaperSurface = nullptr;
    int32_t m_numGameIconSets = 0;
    int32_t m_currentGameIconSet = 0;
    RECT m_spriteImageBoundsRect;
    RECT m_gameBoardRect;
    RECT m_arrowRects[kNumArrows];
    RECT m_robotRect;
    RECT m_heapRect;
    RECT m_playerRect;
    RECT m_robotExplosionRects[kNumExplosionFrames];
    RECT m_playerDeathRects[kNumDeathFrames];
    RECT m_smolderingHeapRects[kNumSmolderFrames];
    HFONT m_hFontNormal = nullptr;
    HFONT m_hFontBold = nullptr;
    HFONT m_hFontBoldUnderline = nullptr;
    HFONT m_hFontLarge = nullptr;
    // What the display needs before it can show the board again. Set by every loss of the
    // surfaces, also one during a recovery, and by every step of a recovery that fails; cleared
    // only once everything is back and the whole board drawn.
    enum Recovery : int { kRecovered, kRestore, kRebuild };
    Recovery m_recovery = kRecovered;
    // Set while a lost display is being recovered, so that the redraw's own presents do not
    // start another recovery.
    bool m_recovering = false;
    // What the test-only fault switch still has in store for the next recovery.
    int m_testFault = kTestNoFault;
    // From the moment an action hides the arrows until they are drawn again.
    bool m_arrowsHidden = false;
    // The lost moment shown, and the final position's frame and canvas kept meanwhile; a loss of
    // the display takes what they hold.
    const CLostMoment* m_pLostMoment = nullptr;
    CSurface* m_pKeptFrame = nullptr;
    CSurface* m_pKeptCanvas = nullptr;
    bool m_finalPictureKept = false;
    RECT m_keptPlayerDstRect = {};
};

RECT CellRect(int x, int y);
// Death and explosion frames are 20 pixels high and hang below the cell.
RECT TallCellRect(int x, int y);
