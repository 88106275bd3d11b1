#include "LostMoment.h"

#include "Random.h"

namespace {

std::string Verdict(const char* action, bool safe) {
    return std::string(action) + (safe ? ": safe" : ": fatal");
}

} // namespace

bool HasLostMoment(const CGame& game) {
    return game.m_gameOver && !game.m_demoMode && game.m_moveLog && game.m_moveLogLength > 0;
}

CLostMoment::CLostMoment() : m_board(m_host, nullptr) {
    // The first preparation, which would put the default settings over the copied ones.
    EnsureGameResources(m_board);
}

bool CLostMoment::Find(const CGame& game) {
    if (!HasLostMoment(game)) {
        return false;
    }
    const RandomState random = SaveRandomState();
    m_board.m_prefs.CopySettingsFrom(game.m_prefs);
    const std::optional<Judgement> verdict =
        JudgeLastAction(m_board, game.m_startTime, game.m_moveLog);
    RestoreRandomState(random);
    if (verdict) {
        m_verdict = *verdict;
    }
    return verdict.has_value();
}

bool CLostMoment::WouldSurvive(int dx, int dy) const {
    // The keypad's layout: '5' the wait, rows upwards from '1'.
    return m_verdict.IsSafeMove(static_cast<char>('5' + dx - 3 * dy));
}

std::string CLostMoment::TeleportText() const {
    return Verdict("Teleport", m_verdict.teleportSafe);
}

std::string CLostMoment::ScrewdriverText() const {
    return m_verdict.screwdriverLeft ? Verdict("Screwdriver", m_verdict.screwdriverSafe)
                                     : "Screwdriver: none left";
}

std::string CLostMoment::LastStandText() const {
    return Verdict("Last Stand", m_verdict.lastStandSafe);
}
