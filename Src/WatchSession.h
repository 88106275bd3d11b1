// Watching a listed game on the board: the game under way is put aside, the listed one plays
// action by action under the settings it was played under, and the game put aside comes back,
// unseen and unheard, when watching ends.
#pragma once

#include "Game.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The steps of + and -, slowest first.
enum class WatchSpeed { kNormal, kDouble, kQuadruple, kFastest };
// The wait between the end of one watched action and the start of the next, at each speed: the
// demo's one second, its half and its quarter, and none. The animations keep their own timing.
constexpr uint32_t kWatchActionIntervalsMs[] = {1000, 500, 250, 0};

// The game on the board when watching began.
struct PutAsideGame {
    int64_t startTime = 0;
    std::string moves;
    int32_t score = 0;
    // The end time of a game whose final position was on the board; none for one under way.
    std::optional<int64_t> endTime;
    // Its settings block; the window placements stay live while a game is watched.
    CPreferences2 settings;
};

class CWatchSession {
public:
    // `tickCount` reads the milliseconds clock of the animations.
    using TickClock = uint32_t (*)();
    CWatchSession(CGame& game, TickClock tickCount) : m_game(game), m_tickCount(tickCount) {}

    // Puts the game on the board aside (unless a game is watched already) and starts the listed
    // one, by its record, under the settings block of `settings`; false, changing nothing, for
    // moves that hold a character outside the move alphabet or no action at all.
    bool Start(const CPreferences2& settings, int64_t startTime, const char* moves,
               const char* name, int32_t score, uint32_t now);
    bool IsWatching() const { return m_watching; }
    bool IsPaused() const { return m_paused; }
    bool HasEnded() const { return m_watching && m_game.m_gameOver; }
    WatchSpeed Speed() const { return m_speed; }
    const PutAsideGame& PutAside() const { return m_putAside; }

    // The commands of the menu and the keys while a game is watched; true when watching took the
    // command, false for one that goes its usual way (a quit, once the game put aside is saved).
    bool HandleCommand(int id, uint32_t now);
    // Milliseconds until the next action is due; none while paused, ended or not watching.
    std::optional<uint32_t> WaitBeforeNextAction(uint32_t now) const;
    // Plays the next action when it is due.
    void PlayDueAction(uint32_t now);
    // Asks watching to end, at once or once the running action is over.
    void RequestStop();
    // Ends watching, as asked, once no action is running; true when it ended.
    bool RunRequestedStop();
    // Ends watching and brings back the game put aside.
    void Stop();
    // A quit while watching: the live settings come back and the game put aside is saved as a
    // quit during play saves it; watching is over.
    void PrepareQuit();

    // "Watching Fenwright: 1520", with the speed, a pause or the end, and a mark on each turn
    // where no step or wait was safe.
    std::string StatusText() const;
    // Whether the last action played was taken where no step or wait was safe.
    bool LastActionWasCornered() const;

private:
    void PutGameAside();
    void PlayOneAction();
    void ChangeSpeed(int steps);
    void TogglePause(uint32_t now);
    // The settings put aside; the Sound switch stays as the player left it.
    void BringBackSettings();

    CGame& m_game;
    TickClock m_tickCount;
    bool m_watching = false;
    bool m_paused = false;
    bool m_stopRequested = false;
    WatchSpeed m_speed = WatchSpeed::kNormal;
    uint32_t m_lastActionTick = 0;
    std::string m_name;
    int32_t m_score = 0;
    // For each action of the watched game, whether no step or wait was safe before it.
    std::vector<bool> m_cornered;
    size_t m_actionsPlayed = 0;
    PutAsideGame m_putAside;
};
