#include "WatchSession.h"

#include "CommandIds.h"
#include "Hindsight.h"
#include "NullGameHost.h"

#include <cstdio>

namespace {

constexpr int kNumSpeeds = 4;
constexpr const char* kSpeedTexts[kNumSpeeds] = {nullptr, "2x", "4x", "fastest"};

// For each action of the game, whether no step or wait was safe before it, judged under
// `settings` as the replay tool explains a record.
std::vector<bool> FindCorneredTurns(const CPreferences2& settings, int64_t startTime,
                                    const char* moves) {
    CNullGameHost host;
    CGame scratch(host, nullptr);
    EnsureGameResources(scratch);
    scratch.m_prefs.CopySettingsFrom(settings);
    std::vector<bool> cornered;
    for (const Judgement& judgement : ExplainGame(scratch, startTime, moves)) {
        cornered.push_back(judgement.SafeMoveCount() == 0);
    }
    return cornered;
}

} // namespace

bool CWatchSession::Start(const CPreferences2& settings, int64_t startTime, const char* moves,
                          const char* name, int32_t score, uint32_t now) {
    if (FindForeignMove(moves)) {
        return false;
    }
    std::vector<bool> cornered = FindCorneredTurns(settings, startTime, moves);
    if (cornered.empty()) {
        return false;
    }
    if (!m_watching) {
        PutGameAside();
    }
    m_watching = true;
    m_paused = false;
    m_stopRequested = false;
    m_speed = WatchSpeed::kNormal;
    m_lastActionTick = now;
    m_name = name;
    m_score = score;
    m_cornered = std::move(cornered);
    m_actionsPlayed = 0;
    m_game.m_prefs.CopySettingsFrom(settings);
    // The game on the board is aside: it ends unrecorded, as the demo does.
    m_game.m_demoMode = true;
    NewGame(m_game, startTime, moves, false);
    return true;
}

void CWatchSession::PutGameAside() {
    PutAsideGame& aside = m_putAside;
    aside = PutAsideGame();
    aside.settings.CopySettingsFrom(m_game.m_prefs);
    if (m_game.m_demoMode) {
        // The demo is no game of the player's: a fresh game comes back in its place.
        aside.startTime = m_game.m_host.CurrentTime();
        return;
    }
    aside.startTime = m_game.m_startTime;
    aside.moves = m_game.m_moveLog ? m_game.m_moveLog : "";
    aside.score = m_game.m_score;
    if (m_game.m_gameOver) {
        aside.endTime = m_game.m_endTime;
    }
}

bool CWatchSession::HandleCommand(int id, uint32_t now) {
    if (!m_watching) {
        return false;
    }
    switch (id) {
    case IDM_WAIT:
        TogglePause(now);
        return true;
    case IDM_STEP_EAST:
        if (m_paused && !m_game.m_busy) {
            PlayOneAction();
        }
        return true;
    case IDM_WATCH_FASTER:
        ChangeSpeed(1);
        return true;
    case IDM_WATCH_SLOWER:
        ChangeSpeed(-1);
        return true;
    case IDM_QUIT_OR_STOP_WATCHING:
    case IDM_NEW_GAME:
        RequestStop();
        return true;
    case IDM_QUIT:
    case IDM_QUIT_KEEPING_SETTINGS:
        PrepareQuit();
        return false;
    case IDM_SAVE_GAME:
    case IDM_OPEN_GAME:
        m_game.m_host.RefuseAction();
        return true;
    default:
        // The player's own actions and the settings they read are swallowed.
        if (IsGameAction(id)) {
            m_game.m_host.FlushKeyboardInput();
            return true;
        }
        return false;
    }
}

void CWatchSession::TogglePause(uint32_t now) {
    m_paused = !m_paused;
    // Playing on waits a whole interval, as after an action.
    m_lastActionTick = now;
    m_game.m_host.DrawStatusLine();
}

void CWatchSession::ChangeSpeed(int steps) {
    const int speed = static_cast<int>(m_speed) + steps;
    if (speed >= 0 && speed < kNumSpeeds) {
        m_speed = static_cast<WatchSpeed>(speed);
        m_game.m_host.DrawStatusLine();
    }
}

std::optional<uint32_t> CWatchSession::WaitBeforeNextAction(uint32_t now) const {
    if (!m_watching || m_paused || m_stopRequested || m_game.m_gameOver) {
        return std::nullopt;
    }
    const uint32_t interval = kWatchActionIntervalsMs[static_cast<int>(m_speed)];
    // The signed difference keeps this right when the tick count wraps around.
    const auto left = static_cast<int32_t>(m_lastActionTick + interval - now);
    return left > 0 ? static_cast<uint32_t>(left) : 0;
}

void CWatchSession::PlayDueAction(uint32_t now) {
    const std::optional<uint32_t> wait = WaitBeforeNextAction(now);
    if (!wait || *wait > 0 || m_game.m_busy) {
        return;
    }
    PlayOneAction();
}

void CWatchSession::PlayOneAction() {
    if (m_game.m_gameOver) {
        return;
    }
    if (ReplayNextMove(m_game)) {
        ++m_actionsPlayed;
    }
    // The next action waits its interval from the end of this one.
    m_lastActionTick = m_tickCount();
    m_game.m_host.DrawStatusLine();
}

void CWatchSession::RequestStop() {
    m_stopRequested = m_watching;
    RunRequestedStop();
}

bool CWatchSession::RunRequestedStop() {
    if (!m_stopRequested || m_game.m_busy) {
        return false;
    }
    Stop();
    return true;
}

void CWatchSession::Stop() {
    if (!m_watching) {
        return;
    }
    m_watching = false;
    m_stopRequested = false;
    BringBackSettings();
    RestorePutAsideGame(m_game, m_putAside.startTime, m_putAside.moves.c_str(), m_putAside.endTime);
}

void CWatchSession::BringBackSettings() {
    const uint8_t soundOn = m_game.m_prefs.m_soundOn;
    m_game.m_prefs.CopySettingsFrom(m_putAside.settings);
    m_game.m_prefs.m_soundOn = soundOn;
}

void CWatchSession::PrepareQuit() {
    if (!m_watching) {
        return;
    }
    m_watching = false;
    m_stopRequested = false;
    BringBackSettings();
    if (!m_putAside.endTime && !m_putAside.moves.empty()) {
        m_game.m_host.SaveGameInProgress(static_cast<uint64_t>(m_putAside.startTime),
                                         static_cast<uint32_t>(m_putAside.score),
                                         m_putAside.moves.c_str());
    }
}

bool CWatchSession::LastActionWasCornered() const {
    return m_actionsPlayed > 0 && m_actionsPlayed <= m_cornered.size() &&
           m_cornered[m_actionsPlayed - 1];
}

std::string CWatchSession::StatusText() const {
    char text[256] = {};
    std::snprintf(text, sizeof text, "Watching %s: %ld", m_name.c_str(),
                  static_cast<long>(m_score));
    std::string status = text;
    if (const char* speed = kSpeedTexts[static_cast<int>(m_speed)]) {
        status += std::string(" - ") + speed;
    }
    if (HasEnded()) {
        status += " - the game has ended";
    } else if (m_paused) {
        status += " - paused";
    }
    if (LastActionWasCornered()) {
        status += " - no safe step or wait";
    }
    return status;
}
