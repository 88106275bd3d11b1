// A host without window, speaker or files: the rules run on their own. The replay tool and the
// tests build on it.
#pragma once

#include "GameHost.h"

class CNullGameHost : public CGameHost {
public:
    void RedrawBoard() override {}
    void DrawStatusLine() override {}
    void SetDrawingSuppressed(bool) override {}
    void HideArrows() override {}
    void DrawArrows() override {}
    void AnimatePlayerStep(int, int) override {}
    void SetPlayerCell(int, int) override {}
    void RedrawPlayer() override {}
    void SetRobotStepRects(Robot&) override {}
    void AnimateRobotSteps() override {}
    void AnimateExplosions() override {}
    void HighlightKiller(int, int, KillerKind) override {}
    void RestoreKiller(int, int, KillerKind) override {}
    void AnimatePlayerDeath(int, int, bool) override {}
    void EraseCell(int, int) override {}
    void AnimateTeleport(int, int, int, int) override {}
    void AnimateScrewdriver(int, int, int, int) override {}
    void ApplyIconSet(int32_t) override {}
    int32_t NextIconSet() override { return 0; }
    void DestroyGraphics() override {}
    void PlaySound(GameSound) override {}
    void RefuseAction() override {}
    void ShowMessage(const char*) override {}
    bool ConfirmMessage(const char*) override { return false; }
    void HideCursor() override {}
    void ShowCursor() override {}
    void BringWindowToTop() override {}
    void FlushKeyboardInput() override {}
    void Pause(uint32_t) override {}
    int64_t CurrentTime() override;
    bool IsAltKeyDown() override { return false; }
    [[noreturn]] void FatalError(const char* text) override;
    void ShowPlatformDescription() override {}
    void RunAdvancedOptionsDialog() override {}
    void CloseWindows() override {}
    void LoadHighScores() override {}
    bool ScoreQualifies(int32_t) override { return false; }
    void AskPlayerName(char*) override {}
    void WriteHighScoreGameRecord(uint64_t, uint32_t, const char*) override {}
    void InsertHighScore(int32_t, const char*, int16_t, int64_t) override {}
    void ShowHighScores() override {}
    void ResetHighScores() override {}
    void SaveHighScores() override {}
    void WriteLastGameRecord(uint64_t, uint32_t, const char*) override {}
    void SaveGameInProgress(uint64_t, uint32_t, const char*) override {}
};
