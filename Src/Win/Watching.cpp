#include "Watching.h"

#include "GameRecord.h"
#include "GameUI.h"
#include "HighScore.h"
#include "SavedAnimations.h"

#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

uint32_t WatchClock() {
    return static_cast<uint32_t>(TickCount());
}

// The row asked for while an action ran, and the one being watched.
std::optional<HighScoreEntry> g_requestedRow;
std::optional<HighScoreEntry> g_watchedRow;

bool IsSameRow(const HighScoreEntry& a, const HighScoreEntry& b) {
    return a.score == b.score && a.date == b.date && std::strcmp(a.name, b.name) == 0;
}

void StartWatching(const HighScoreEntry& row) {
    uint64_t startTime = 0;
    char* moves = LoadGameRecordFile(ListedGameRecordPath(row).c_str(), &startTime, nullptr);
    const bool started =
        moves && g_watch.Start(ListedGameSettings(), static_cast<int64_t>(startTime), moves,
                               row.name, row.score, WatchClock());
    std::free(moves);
    if (!started) {
        g_host.ShowMessage(kListedRecordGoneText);
        return;
    }
    g_watchedRow = row;
    RepaintHighScores();
}

} // namespace

CWatchSession g_watch(g_game, WatchClock);

void WatchListedGame(const HighScoreEntry& row) {
    // Not while a dialog of the main window is open or a score's name is asked.
    const LONG style = GetWindowLongA(g_host.UI().m_hWnd, GWL_STYLE);
    if ((style & WS_DISABLED) != 0 || g_game.m_offeredScore) {
        g_host.RefuseAction();
        return;
    }
    if (g_game.m_busy) {
        g_requestedRow = row;
        return;
    }
    StartWatching(row);
}

bool IsWatchedRow(const HighScoreEntry& row) {
    return g_watch.IsWatching() && g_watchedRow && IsSameRow(*g_watchedRow, row);
}

void RunWatch() {
    if (g_game.m_busy) {
        return;
    }
    if (g_requestedRow) {
        const HighScoreEntry row = *g_requestedRow;
        g_requestedRow.reset();
        StartWatching(row);
    }
    if (g_watch.RunRequestedStop()) {
        RepaintHighScores();
    }
    g_watch.PlayDueAction(WatchClock());
}

DWORD WatchWaitMs(DWORD idleWaitMs) {
    const std::optional<uint32_t> wait = g_watch.WaitBeforeNextAction(WatchClock());
    return wait && *wait < idleWaitMs ? *wait : idleWaitMs;
}
