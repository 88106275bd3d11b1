// The life of a game: one-time preparation, new games, levels, the end of a game, quitting.
#include "Game.h"

#include "Random.h"
#include "TextUtil.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

void ClearMoveLog(CGame& game) {
    if (!game.m_moveLog) {
        return;
    }
    std::memset(game.m_moveLog, 0, game.m_moveLogCapacity);
    game.m_moveLogEnd = game.m_moveLog;
    game.m_moveLogLength = 0;
}

char* CopyMoves(const char* moves) {
    size_t size = std::strlen(moves) + 1;
    char* copy = static_cast<char*>(std::malloc(size));
    if (copy) {
        std::memcpy(copy, moves, size);
    }
    return copy;
}

void FreeReplayMoves(CGame& game) {
    std::free(game.m_replayMoves);
    game.m_replayMoves = nullptr;
    game.m_replayPos = nullptr;
}

int Distance(int a, int b) {
    return a > b ? a - b : b - a;
}

void PlaceRecord(Robot& slot, int16_t x, int16_t y) {
    slot.rect = {x * kCellPixels, y * kCellPixels, x * kCellPixels + kCellPixels,
                 y * kCellPixels + kCellPixels};
    slot.x = x;
    slot.y = y;
    slot.isAlive = kRobotIsAlive;
}

uint16_t RobotsWanted(const CGame& game) {
    auto wanted = static_cast<uint16_t>(game.m_prefs.m_robotsPerLevel * game.m_level +
                                        game.m_prefs.m_robotsBase);
    if (wanted > kMaxPlaced) {
        return kMaxPlaced;
    }
    return wanted < 2 ? 2 : wanted;
}

int16_t HeapsWanted(const CGame& game, uint16_t robotsWanted) {
    auto heaps = static_cast<int16_t>(game.m_prefs.m_heapsPerLevel * game.m_level +
                                      game.m_prefs.m_heapsBase);
    if (robotsWanted + heaps > kMaxPlaced) {
        heaps = static_cast<int16_t>(kMaxPlaced - robotsWanted);
    }
    return heaps < 1 ? 0 : heaps;
}

// One budget of attempts serves the whole level; robots that find no place are left out.
void PlaceRobots(CGame& game, uint16_t wanted) {
    const int16_t safeZone = game.m_prefs.m_safeZoneRadius;
    Robot* slot = game.m_records;
    int16_t budget = kPlacementTries;
    for (uint16_t placed = 0; placed < wanted;) {
        if (--budget == 0) {
            break;
        }
        auto x = static_cast<int16_t>(RandomUpTo(kGridWidth - 1));
        auto y = static_cast<int16_t>(RandomUpTo(kGridHeight - 1));
        if (game.Cell(x, y) != kCellEmpty ||
            (safeZone > 0 && Distance(x, game.m_playerX) <= safeZone &&
             Distance(y, game.m_playerY) <= safeZone)) {
            continue;
        }
        game.Cell(x, y) = kCellRobot;
        PlaceRecord(*slot++, x, y);
        ++placed;
    }
    slot->isAlive = kEndOfList;
    game.m_robotListEnd = slot;
}

void PlaceHeaps(CGame& game, int16_t wanted) {
    Robot* slot = game.m_lastRecord;
    for (int16_t placed = 0; placed < wanted; ++placed) {
        int16_t x;
        int16_t y;
        do {
            x = static_cast<int16_t>(RandomUpTo(kGridWidth - 1));
            y = static_cast<int16_t>(RandomUpTo(kGridHeight - 1));
        } while (game.Cell(x, y) != kCellEmpty);
        game.Cell(x, y) = kCellHeap;
        PlaceRecord(*slot, x, y);
        slot->variant = static_cast<uint8_t>(RandomUpTo(2));
        --slot;
    }
    slot->isAlive = kEndOfList;
    game.m_heapListEnd = slot;
}

// Steps 1 to 8 of a new game; false when the program is closing.
bool BeginGame(CGame& game, int64_t startTime, const char* moves, bool restore) {
    if (game.m_closing) {
        return false;
    }
    game.m_busy = true;
    EnsureGameResources(game);
    if (!game.m_gameOver) {
        EndGame(game);
    }
    game.m_gameOver = false;
    game.m_demoMode = false;
    game.m_restoring = false;
    game.m_startTime = startTime != 0 ? startTime : game.m_host.CurrentTime();
    SeedRandom(static_cast<uint32_t>(game.m_startTime));
    if (moves) {
        FreeReplayMoves(game);
        // Without its copy of the moves the game simply starts as a fresh one.
        game.m_replayMoves = CopyMoves(moves);
        game.m_replayPos = game.m_replayMoves;
        if (game.m_replayMoves) {
            (restore ? game.m_restoring : game.m_demoMode) = true;
        }
    }
    game.m_endTime = 0;
    game.m_level = 0;
    game.m_score = 0;
    ClearMoveLog(game);
    game.m_screwdrivers =
        game.m_prefs.m_screwdriverStockMode != 0 ? game.m_prefs.m_screwdriversPerGame : 1;
    game.m_lastStandMode = 0;
    return true;
}

void ReplayAtFullSpeed(CGame& game) {
    StartNextLevel(game);
    game.m_busy = false;
    game.m_host.SetDrawingSuppressed(true);
    while (game.m_restoring && !game.m_gameOver) {
        ReplayNextMove(game);
    }
    game.m_host.SetDrawingSuppressed(false);
}

void ShowRestoredGame(CGame& game) {
    game.m_busy = true;
    game.m_host.RedrawBoard();
    game.m_host.DrawStatusLine();
    game.m_host.BringWindowToTop();
    // Last, as a fresh game's intro: the first sound of a run sets up the sound system on a
    // thread of its own, which slows the window calls running beside it.
    PlayRestoredSound(game);
    game.m_busy = false;
}

void StartFreshLevelOne(CGame& game) {
    game.m_host.DrawStatusLine();
    game.m_host.BringWindowToTop();
    PlayGameSound(game, kSoundIntro);
    game.m_busy = false;
    StartNextLevel(game);
}

void WriteDueLastGameRecord(CGame& game) {
    if (!game.m_lastGameRecordDue) {
        return;
    }
    game.m_lastGameRecordDue = false;
    game.m_host.WriteLastGameRecord(static_cast<uint64_t>(game.m_startTime),
                                    static_cast<uint32_t>(game.m_score), game.m_moveLog);
}

} // namespace

void EnsureGameResources(CGame& game) {
    if (game.m_records) {
        return;
    }
    LoadOrRevert(game.m_prefs, &game.m_savedPrefs, game.m_host);
    game.m_host.LoadHighScores();
    game.m_records = new (std::nothrow) Robot[kNumCells]();
    if (game.m_records) {
        game.m_lastRecord = game.m_records + kNumCells - 1;
    }
    if (game.m_prefs.m_iconSet >= 0 && game.m_prefs.m_iconSet <= 9) {
        game.m_host.ApplyIconSet(game.m_prefs.m_iconSet);
    }
    game.m_explosionRects = new (std::nothrow) Rect[kMaxExplosions + 1]();
    if (!game.m_records || !game.m_explosionRects) {
        game.m_host.FatalError(kNotEnoughMemoryText);
    }
}

void NewGame(CGame& game, int64_t startTime, const char* moves, bool restore) {
    if (!BeginGame(game, startTime, moves, restore)) {
        return;
    }
    if (!game.m_restoring) {
        StartFreshLevelOne(game);
        return;
    }
    ReplayAtFullSpeed(game);
    if (game.m_gameOver) {
        // The stored game ended during the replay: a fresh one follows at once.
        if (BeginGame(game, 0, nullptr, false)) {
            StartFreshLevelOne(game);
        }
        return;
    }
    ShowRestoredGame(game);
}

void ReplayStoredGame(CGame& game, int64_t startTime, const char* moves) {
    if (!BeginGame(game, startTime, moves, true)) {
        return;
    }
    if (!game.m_restoring) {
        StartFreshLevelOne(game);
        return;
    }
    ReplayAtFullSpeed(game);
    if (!game.m_gameOver) {
        ShowRestoredGame(game);
    }
}

void RestorePutAsideGame(CGame& game, int64_t startTime, const char* moves,
                         std::optional<int64_t> endTime) {
    if (!BeginGame(game, startTime, moves, true)) {
        return;
    }
    // As the demo: no sound, no record, no offer to the list.
    game.m_demoMode = true;
    ReplayAtFullSpeed(game);
    if (endTime) {
        if (!game.m_gameOver) {
            EndGame(game);
        }
        game.m_endTime = *endTime;
    }
    game.m_demoMode = false;
    game.m_restoredSound.reset();
    ShowRestoredGame(game);
}

void StartNextLevel(CGame& game) {
    if (game.m_level >= 1) {
        AppendMove(game, '.');
        AppendMove(game, ' ');
        if (!game.m_restoring) {
            // The pause between levels belongs to the action that cleared the level.
            const bool wasBusy = game.m_busy;
            game.m_busy = true;
            game.m_host.Pause(kLevelPauseMs);
            game.m_busy = wasBusy;
        }
    }
    ++game.m_level;
    if (game.m_prefs.m_screwdriverStockMode == 0) {
        game.m_screwdrivers = 1;
    } else if (game.m_level >= 2) {
        game.m_screwdrivers =
            static_cast<int16_t>(game.m_screwdrivers + game.m_prefs.m_screwdriversPerLevel);
    }
    SetUpLevel(game);
    game.m_host.DrawStatusLine();
}

void SetUpLevel(CGame& game) {
    std::memset(game.m_grid, kCellEmpty, sizeof game.m_grid);
    game.m_playerX = static_cast<int16_t>(RandomUpTo(kGridWidth - 1));
    game.m_playerY = static_cast<int16_t>(RandomUpTo(kGridHeight - 1));
    game.Cell(game.m_playerX, game.m_playerY) = kCellPlayer;
    const uint16_t robots = RobotsWanted(game);
    PlaceRobots(game, robots);
    PlaceHeaps(game, HeapsWanted(game, robots));
    game.m_gameOver = false;
    game.m_host.RedrawBoard();
}

void EndGame(CGame& game) {
    // A stored game may end during its replay: its last sound belongs to its end.
    PlayRestoredSound(game);
    game.m_gameOver = true;
    game.m_endTime = game.m_host.CurrentTime();
    game.m_host.DrawStatusLine();
    game.m_host.ShowCursor();
    game.m_busy = false;
    game.m_lastGameRecordDue = !game.m_demoMode && game.m_moveLogLength != 0;
    OfferHighScore(game, game.m_score);
    WriteDueLastGameRecord(game);
    FreeReplayMoves(game);
    game.m_demoMode = false;
}

void OfferHighScore(CGame& game, int32_t score) {
    // A game that ends while the program closes was saved with its moves; it is offered when
    // the saved game is resumed at the next start.
    if (game.m_demoMode || game.m_closing || !game.m_host.ScoreQualifies(score)) {
        return;
    }
    if (!AreStandardSettings(game.m_prefs)) {
        game.m_host.ShowMessage(kNotEligibleText);
        return;
    }
    char name[kPlayerNameSize];
    CopyBounded(name, sizeof name, game.m_prefs.m_playerName);
    game.m_offeredScore = score;
    game.m_host.AskPlayerName(name);
    // A quit while the name was asked (the session ending) has entered the score already.
    if (!game.m_offeredScore) {
        return;
    }
    game.m_prefs.SetPlayerName(name);
    EnterOfferedScore(game);
    game.m_host.ShowHighScores();
}

void EnterOfferedScore(CGame& game) {
    if (!game.m_offeredScore) {
        return;
    }
    const int32_t score = *game.m_offeredScore;
    game.m_offeredScore.reset();
    const char* moves = game.m_moveLog ? game.m_moveLog : "";
    game.m_host.WriteHighScoreGameRecord(static_cast<uint64_t>(game.m_startTime),
                                         static_cast<uint32_t>(score), moves);
    game.m_host.InsertHighScore(score, game.m_prefs.m_playerName,
                                static_cast<int16_t>(game.m_level), game.m_endTime);
}

bool QuitGame(CGame& game, SettingsAtQuit settings) {
    if (game.m_closing) {
        return true;
    }
    game.m_host.ShowCursor();
    if (!game.m_gameOver && !game.m_demoMode && game.m_moveLogLength != 0) {
        game.m_host.SaveGameInProgress(static_cast<uint64_t>(game.m_startTime),
                                       static_cast<uint32_t>(game.m_score), game.m_moveLog);
    }
    game.m_closing = true;
    game.m_gameOver = true;
    game.m_host.CloseWindows();
    EnterOfferedScore(game);
    // The session may end the process before the name dialog returns to EndGame.
    WriteDueLastGameRecord(game);
    game.m_host.SaveHighScores();
    SavePreferencesAtQuit(game, settings);
    game.m_host.DestroyGraphics();
    return true;
}

void ShowAdvancedOptions(CGame& game) {
    game.m_host.ShowCursor();
    game.m_host.RunAdvancedOptionsDialog();
    if (!AreStandardSettings(game.m_prefs)) {
        game.m_host.ShowMessage(kNotStandardNoteText);
    }
    if (!game.m_gameOver && game.m_moveLogLength != 0) {
        game.m_host.RedrawBoard();
    } else {
        NewGame(game, 0, nullptr, false);
    }
}

void ConfirmClearHighScores(CGame& game) {
    if (game.m_host.ConfirmMessage(kClearHighScoresQuestion)) {
        game.m_host.ResetHighScores();
    }
}
