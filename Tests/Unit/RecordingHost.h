// A host that records every call the rules make, as short texts, so that tests can check
// which drawing, sound and shell steps happened and in what order.
#pragma once

#include "GameHost.h"
#include "Preferences.h"

#include <string>
#include <vector>

class CRecordingHost : public CGameHost {
public:
    std::vector<std::string> calls;
    int64_t now = 1600000000;
    bool altDown = false;
    bool qualifies = false;
    bool confirm = true;
    std::string nameToEnter;
    int32_t iconSets = 1;
    int32_t currentIconSet = 0;

    void Clear() { calls.clear(); }
    // The calls whose text starts with one of the given prefixes, in order.
    std::vector<std::string> Only(std::initializer_list<const char*> prefixes) const;
    int Count(const std::string& call) const;

    void RedrawBoard() override { Add("RedrawBoard"); }
    void DrawStatusLine() override { Add("StatusLine"); }
    void SetDrawingSuppressed(bool suppressed) override;
    void HideArrows() override { Add("HideArrows"); }
    void DrawArrows() override { Add("DrawArrows"); }
    void AnimatePlayerStep(int dx, int dy) override { Add("AnimatePlayerStep", dx, dy); }
    void SetPlayerCell(int x, int y) override { Add("SetPlayerCell", x, y); }
    void RedrawPlayer() override { Add("RedrawPlayer"); }
    void SetRobotStepRects(Robot& robot) override;
    void AnimateRobotSteps() override { Add("AnimateRobotSteps"); }
    void AnimateExplosions() override { Add("AnimateExplosions"); }
    void HighlightKiller(int x, int y, KillerKind kind) override;
    void RestoreKiller(int x, int y, KillerKind kind) override;
    void AnimatePlayerDeath(int x, int y, bool leaveHeap) override;
    void EraseCell(int x, int y) override { Add("EraseCell", x, y); }
    void AnimateTeleport(int fromX, int fromY, int toX, int toY) override;
    void AnimateScrewdriver(int effect, int x, int y, int radius) override;
    void ApplyIconSet(int32_t index) override;
    int32_t NextIconSet() override;
    void DestroyGraphics() override { Add("DestroyGraphics"); }
    void PlaySound(GameSound sound) override;
    void RefuseAction() override { Add("Refuse"); }
    void ShowMessage(const char* text) override { Add(std::string("Message: ") + text); }
    bool ConfirmMessage(const char* text) override;
    void HideCursor() override { Add("HideCursor"); }
    void ShowCursor() override { Add("ShowCursor"); }
    void BringWindowToTop() override { Add("BringWindowToTop"); }
    void FlushKeyboardInput() override { Add("Flush"); }
    void Pause(uint32_t milliseconds) override { Add("Pause", static_cast<int>(milliseconds)); }
    int64_t CurrentTime() override { return now; }
    bool IsAltKeyDown() override { return altDown; }
    [[noreturn]] void FatalError(const char* text) override;
    void ShowPlatformDescription() override { Add("ShowPlatformDescription"); }
    void RunAdvancedOptionsDialog() override;
    void CloseWindows() override { Add("CloseWindows"); }
    void LoadHighScores() override { Add("LoadHighScores"); }
    bool ScoreQualifies(int32_t score) override;
    void AskPlayerName(char* name) override;
    void WriteHighScoreGameRecord(uint64_t startTime, uint32_t score, const char* moves) override;
    void InsertHighScore(int32_t score, const char* name, int16_t level, int64_t date) override;
    void ShowHighScores() override { Add("ShowHighScores"); }
    void ResetHighScores() override { Add("ResetHighScores"); }
    void SaveHighScores() override { Add("SaveHighScores"); }
    void WriteLastGameRecord(uint64_t startTime, uint32_t score, const char* moves) override;
    void SaveGameInProgress(uint64_t startTime, uint32_t score, const char* moves) override;

    // What the Advanced Options dialog does to the live preferences when it runs.
    CPreferences* dialogTarget = nullptr;
    void (*dialogEdit)(CPreferences&) = nullptr;

private:
    void Add(const std::string& call) { calls.push_back(call); }
    void Add(const std::string& name, int a, int b) {
        Add(name + "(" + std::to_string(a) + "," + std::to_string(b) + ")");
    }
    void Add(const std::string& name, int a) { Add(name + "(" + std::to_string(a) + ")"); }
};
