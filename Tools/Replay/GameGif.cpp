#include "GameGif.h"

#include "BoardPainter.h"
#include "Game.h"
#include "GifWriter.h"
#include "NullGameHost.h"
#include "Random.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

namespace {

// How long the game's animations take at normal speed, in milliseconds.
constexpr int kPlayerStepMs = 16 * 16;
constexpr int kRobotStepFrames = 16;
constexpr int kRobotStepDelayMs = 32;
constexpr int kFastLastStandDelayMs = 8;
constexpr int kExplosionsMs = 7 * 128;
constexpr int kDeathMs = 8 * 128;
constexpr int kTeleportMs = 18 * 32 + 287 + 18 * 32;
constexpr int kScrewdriverMs = 320 + 480;
constexpr int kNewLevelMs = 1000;
constexpr int kFinalPositionMs = 3000;

// Plays the record as the demo plays its moves, at normal speed: every animation and pause
// the rules ask for adds its time to the action under way, and each position becomes a frame.
class CGameFilm : public CNullGameHost {
public:
    CGameFilm(CPreferencesStore* prefsStore, const BoardArt& art, const GifPart& part)
        : m_part(part), m_game(*this, prefsStore) {
        EnsureGameResources(m_game);
        m_painter = std::make_unique<CBoardPainter>(art, m_game.m_prefs);
        m_writer = std::make_unique<CGifWriter>(WINDOW_WIDTH, WINDOW_HEIGHT, part.scale,
                                                m_painter->Palette());
    }

    std::vector<uint8_t> Make(int64_t startTime, const char* moves, int* frames) {
        NewGame(m_game, startTime, moves, false);
        Shoot(kNewLevelMs);
        while ((m_part.lastAction == 0 || m_actionsDone < m_part.lastAction) &&
               !m_game.m_gameOver) {
            const uint16_t level = m_game.m_level;
            m_actionMs = 0;
            m_shotDuringAction = false;
            ++m_actionsDone;
            if (!ReplayNextMove(m_game)) {
                --m_actionsDone;
                break;
            }
            if (!m_shotDuringAction) {
                Shoot(m_actionMs);
            }
            if (m_game.m_level != level) {
                Shoot(kNewLevelMs);
            }
        }
        if (m_pendingShown) {
            m_writer->AddFrame(m_pending, std::max(m_pendingMs, kFinalPositionMs));
        }
        if (frames) {
            *frames = m_writer->FrameCount();
        }
        return m_writer->Finish();
    }

    void AnimatePlayerStep(int, int) override { m_actionMs += Timed(kPlayerStepMs); }
    void AnimateRobotSteps() override { m_actionMs += kRobotStepFrames * RobotStepDelay(); }
    void AnimateExplosions() override { m_actionMs += Timed(kExplosionsMs); }
    void AnimatePlayerDeath(int x, int y, bool leaveHeap) override {
        m_actionMs += Timed(kDeathMs);
        m_death = DeathMark{x, y, leaveHeap};
    }
    void AnimateTeleport(int, int, int, int) override { m_actionMs += kTeleportMs; }
    void AnimateScrewdriver(int, int, int, int) override { m_actionMs += kScrewdriverMs; }
    // The pause before a new level shows the cleared board: that is the action's position.
    void Pause(uint32_t milliseconds) override {
        m_actionMs += static_cast<int>(milliseconds);
        if (milliseconds == kLevelPauseMs) {
            Shoot(m_actionMs);
            m_shotDuringAction = true;
        }
    }

private:
    int Timed(int ms) const { return m_game.m_prefs.m_untimedAnimation ? 0 : ms; }

    int RobotStepDelay() const {
        if (m_game.m_lastStandMode == 0) {
            return Timed(kRobotStepDelayMs);
        }
        if (m_game.m_prefs.m_lastStandFast) {
            return Timed(kFastLastStandDelayMs);
        }
        return Timed(m_game.m_prefs.m_lastStandUntimed ? 0 : kRobotStepDelayMs);
    }

    // Each frame waits until the next one comes, so that the last can be held longer; of the
    // positions before the part's first action only the last is kept.
    void Shoot(int ms) {
        if (m_actionsDone < m_part.firstAction - 1) {
            return;
        }
        if (m_pendingShown && m_actionsDone >= m_part.firstAction) {
            m_writer->AddFrame(m_pending, m_pendingMs);
        }
        m_painter->Paint(m_game, m_game.m_gameOver && m_death ? &*m_death : nullptr, m_pending);
        m_pendingMs = ms;
        m_pendingShown = true;
    }

    GifPart m_part;
    CGame m_game;
    std::unique_ptr<CBoardPainter> m_painter;
    std::unique_ptr<CGifWriter> m_writer;
    int m_actionsDone = 0;
    int m_actionMs = 0;
    bool m_shotDuringAction = false;
    std::optional<DeathMark> m_death;
    std::vector<uint8_t> m_pending;
    int m_pendingMs = 0;
    bool m_pendingShown = false;
};

} // namespace

int CountRecordActions(const char* moves) {
    int actions = 0;
    for (const char* c = moves; *c; ++c) {
        if (!std::strchr(". \t\n\r\v\f", *c)) {
            ++actions;
        }
    }
    return actions;
}

std::vector<uint8_t> MakeGameGif(int64_t startTime, const char* moves,
                                 CPreferencesStore* prefsStore, const BoardArt& art,
                                 const GifPart& part, int* frames) {
    // The game filmed draws from the one generator, which the game under way goes on using.
    const RandomState random = SaveRandomState();
    CGameFilm film(prefsStore, art, part);
    std::vector<uint8_t> gif = film.Make(startTime, moves, frames);
    RestoreRandomState(random);
    return gif;
}
