#include "Game.h"

#include "TextUtil.h"

#include <cstdlib>
#include <cstring>

const char* const kNotEnoughMemoryText = "Not enough memory to initialize the program.";
const char* const kNotEligibleText =
    "Nice score, but it is not eligible for the High Scores list because some gameplay "
    "settings have been changed using the Advanced Options window.";
const char* const kNotStandardNoteText =
    "Note: your current settings are not compatible with the original scoring rules, so you "
    "will not be eligible for the High Score list.";
const char* const kClearHighScoresQuestion = "Are you sure you want to reset the High Score list?";
const char* const kRevertingPreferencesText = "Reverting preferences to default settings.";

CGame::CGame(CGameHost& host, CPreferencesStore* prefsStore) : m_prefs(prefsStore), m_host(host) {
    m_moveLog = static_cast<char*>(std::calloc(kInitialMoveLogCapacity, 1));
    if (m_moveLog) {
        m_moveLogCapacity = kInitialMoveLogCapacity;
    }
    m_moveLogEnd = m_moveLog;
}

CGame::~CGame() {
    std::free(m_moveLog);
    std::free(m_replayMoves);
    delete[] m_records;
    delete[] m_explosionRects;
}

void ComputeRobotStepRects(Robot& robot) {
    const Rect cell = {robot.x * kCellPixels, robot.y * kCellPixels,
                       robot.x * kCellPixels + kCellPixels, robot.y * kCellPixels + kCellPixels};
    robot.moveRect = {cell.left + robot.dx, cell.top + robot.dy, cell.right + robot.dx,
                      cell.bottom + robot.dy};
    robot.rect = {cell.left < robot.moveRect.left ? cell.left : robot.moveRect.left,
                  cell.top < robot.moveRect.top ? cell.top : robot.moveRect.top,
                  cell.right > robot.moveRect.right ? cell.right : robot.moveRect.right,
                  cell.bottom > robot.moveRect.bottom ? cell.bottom : robot.moveRect.bottom};
}

namespace {

void StartSound(CGame& game, GameSound sound) {
    if (game.m_prefs.m_soundOn != 0 && !game.m_demoMode) {
        game.m_host.PlaySound(sound);
    }
}

} // namespace

// Each sound cuts off the one before, so of a stored game replayed at full speed only the last
// action's sound would be heard: that one alone is played, once the restore ends.
void PlayGameSound(CGame& game, GameSound sound) {
    if (game.m_restoring) {
        game.m_restoredSound = sound;
        return;
    }
    StartSound(game, sound);
}

void PlayRestoredSound(CGame& game) {
    if (game.m_restoredSound) {
        StartSound(game, *game.m_restoredSound);
        game.m_restoredSound.reset();
    }
}

bool LoadOrRevert(CPreferences& prefs, CPreferences* snapshot, CGameHost& host) {
    bool loaded = !host.IsAltKeyDown() && prefs.Load() && prefs.IsValid();
    if (!loaded) {
        host.ShowMessage(kRevertingPreferencesText);
        prefs.SetDefaults();
    }
    if (snapshot) {
        snapshot->CopySettingsFrom(prefs);
    }
    return true;
}

void SavePreferencesAtQuit(CGame& game, SettingsAtQuit settings) {
    const bool keep = settings == SettingsAtQuit::kKeepStored ||
                      (settings == SettingsAtQuit::kKeepWhileAltHeld && game.m_host.IsAltKeyDown());
    if (keep || !game.m_prefs.Differs(&game.m_savedPrefs)) {
        return;
    }
    if (game.m_prefs.Save()) {
        game.m_savedPrefs.CopySettingsFrom(game.m_prefs);
    }
}

void ToggleGrid(CGame& game) {
    int16_t& style = game.m_prefs.m_gridStyle;
    style = style >= 5 ? 0 : static_cast<int16_t>(style + 1);
    game.m_host.RedrawBoard();
}

void ToggleColor(CGame& game) {
    game.m_prefs.m_iconSet = game.m_host.NextIconSet();
    game.m_host.RedrawBoard();
}
