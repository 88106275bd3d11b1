// The game: the board, the robots and heaps, the player, the score, the move log and the
// replay, and every rule that changes them. Drawing, sound and the shell are reached only
// through CGameHost.
#pragma once

#include "GameHost.h"
#include "Preferences.h"

#include <cstdint>
#include <memory>
#include <optional>

constexpr int16_t kGridWidth = 31;
constexpr int16_t kGridHeight = 18;
constexpr int kNumCells = kGridWidth * kGridHeight;
constexpr int kCellPixels = 16;

// Cell codes. Between actions a cell holds only empty, a robot, the player or a heap; '2'..'8'
// (several robots) and 'T'..'V' (robots that ran into a heap) exist only inside a robots' turn.
constexpr uint8_t kCellEmpty = 0;
constexpr uint8_t kCellRobot = '1';
constexpr uint8_t kCellPlayer = 'A';
constexpr uint8_t kCellHeap = 'S';

constexpr uint8_t kRobotIsDead = 0;
constexpr uint8_t kRobotIsAlive = 1;
constexpr uint8_t kRobotIsDying = 2;
constexpr uint8_t kEndOfList = 99;

constexpr int kMaxPlaced = 555;
constexpr int16_t kPlacementTries = 1000;
constexpr int kTeleportTries = 1000;
constexpr int kMaxExplosions = 280;
constexpr uint32_t kLevelPauseMs = 1440;
constexpr uint32_t kTeleportPauseMs = 288;
constexpr uint32_t kInitialMoveLogCapacity = 1024;

// The built-in demo games of the two builds.
constexpr int64_t kDemoSeed = 0x4D2B71EC;
constexpr const char* kDemoMoves = "474S9666T2222114";
constexpr int64_t kDemo9xSeed = 0x4D0D123B;
constexpr const char* kDemo9xMoves = "69988T2466661223S362";

extern const char* const kNotEnoughMemoryText;
extern const char* const kNotEligibleText;
extern const char* const kNotStandardNoteText;
extern const char* const kClearHighScoresQuestion;
extern const char* const kRevertingPreferencesText;

// Left, top, right, bottom in pixels; right and bottom exclusive.
struct Rect {
    int32_t left, top, right, bottom;
};

// One record serves a robot or a scrap heap.
struct Robot {
    Rect rect;
    Rect moveRect;
    int16_t x;
    int16_t y;
    int16_t dx;
    int16_t dy;
    uint8_t variant;
    uint8_t isAlive;
};

class CGame {
public:
    CGame(CGameHost& host, CPreferencesStore* prefsStore);
    ~CGame();
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    uint8_t& Cell(int x, int y) { return m_grid[x * kGridHeight + y]; }
    uint8_t Cell(int x, int y) const { return m_grid[x * kGridHeight + y]; }

    // The record array: robots from the first slot up to the robot list's end marker, heaps
    // from the last slot down to the heap list's end marker; every loop stops at its marker.
    Robot* m_records = nullptr;
    Robot* m_lastRecord = nullptr;
    bool m_closing = false;
    bool m_busy = false;
    uint16_t m_level = 0;
    bool m_gameOver = true;
    bool m_demoMode = false;
    bool m_restoring = false;
    // The sound of the last action replayed while restoring, heard once the restore ends.
    std::optional<GameSound> m_restoredSound;
    int32_t m_score = 0;
    // A finished game's score while the name for the list is asked.
    std::optional<int32_t> m_offeredScore;
    // A finished game whose "Last Game.txt" is written once its score has been offered.
    bool m_lastGameRecordDue = false;
    int64_t m_startTime = 0;
    int64_t m_endTime = 0;
    uint8_t m_grid[kNumCells] = {};
    int16_t m_playerX = 0;
    int16_t m_playerY = 0;
    int32_t m_lastStandMode = 0;
    int16_t m_screwdrivers = 1;
    char* m_replayMoves = nullptr;
    const char* m_replayPos = nullptr;
    // The move log, always NUL-terminated; disabled (null, capacity 0) when memory ran out.
    char* m_moveLog = nullptr;
    char* m_moveLogEnd = nullptr;
    uint32_t m_moveLogLength = 0;
    uint32_t m_moveLogCapacity = 0;

    // Cells where robots explode in the current turn, ended by an entry whose right edge is 0.
    Rect* m_explosionRects = nullptr;
    int32_t m_explosionCount = 0;

    CPreferences2 m_prefs;
    CPreferences2 m_savedPrefs;
    CGameHost& m_host;

    // The slots holding the two lists' end markers (they may be the same slot).
    Robot* m_robotListEnd = nullptr;
    Robot* m_heapListEnd = nullptr;
};

// Commands of the menu and the accelerator table; true when the game took the command.
// Whether `id` is one of the player's actions or a setting they read: a step, the wait, the
// special actions, the grid and colour keys, Advanced Options.
bool IsGameAction(int id);
bool HandleGameCommand(CGame& game, int id);

void MovePlayer(CGame& game, int16_t dx, int16_t dy);
void MoveRobots(CGame& game);
void PlayerDies(CGame& game, int16_t playerX, int16_t playerY, int16_t robotX, int16_t robotY,
                int16_t heapX, int16_t heapY, bool leaveHeap);
void Teleport(CGame& game);
void TeleportTo(CGame& game, int16_t x, int16_t y, bool moveRobots);
void UseScrewdriver(CGame& game);
void LastStand(CGame& game, int16_t mode);

void EnsureGameResources(CGame& game);
// Starts a game: fresh (startTime 0, no moves), the demo (moves, restore false) or a stored
// game replayed at full speed (restore true); a stored game that ends is followed by a fresh
// one.
void NewGame(CGame& game, int64_t startTime, const char* moves, bool restore);
// Replays a stored game as NewGame does, but leaves an ended game as it ended.
void ReplayStoredGame(CGame& game, int64_t startTime, const char* moves);
// Puts a game back on the board as it stood, replayed unseen and unheard, with nothing written or
// offered: under way, or ended at `endTime`.
void RestorePutAsideGame(CGame& game, int64_t startTime, const char* moves,
                         std::optional<int64_t> endTime);
void StartNextLevel(CGame& game);
void SetUpLevel(CGame& game);
void EndGame(CGame& game);
void OfferHighScore(CGame& game, int32_t score);
// Enters the score whose name is being asked, under the player's name, with its game record.
void EnterOfferedScore(CGame& game);
// What a quit does with changed settings. Alt+X keeps the stored ones, and so does a close (the
// close box, Alt+F4, File > Exit, the taskbar) while Alt is held on the keyboard. The window's
// key state cannot tell: Alt stays down in it after an Alt+Tab until the window has the focus
// again. A session's end stores them, since nobody holds Alt then.
enum class SettingsAtQuit { kStore, kKeepStored, kKeepWhileAltHeld };
bool QuitGame(CGame& game, SettingsAtQuit settings);
void ShowAdvancedOptions(CGame& game);
void ConfirmClearHighScores(CGame& game);
void ToggleGrid(CGame& game);
void ToggleColor(CGame& game);
void PlayGameSound(CGame& game, GameSound sound);
// Plays the sound held back while restoring, if any.
void PlayRestoredSound(CGame& game);

void AppendMove(CGame& game, char c);
bool ReplayNextMove(CGame& game);
// Carries out the action of one move character as a replay does; false, doing nothing, for a
// character outside the move alphabet.
bool PlayMove(CGame& game, char c);

// Fills `prefs` from its store, or with the defaults (and a note to the user) when Alt is
// held or the stored record is missing or damaged; then copies its settings to `snapshot`.
bool LoadOrRevert(CPreferences& prefs, CPreferences* snapshot, CGameHost& host);
void SavePreferencesAtQuit(CGame& game, SettingsAtQuit settings);

// Fills a robot's two pixel rectangles for the step it is about to take.
void ComputeRobotStepRects(Robot& robot);
