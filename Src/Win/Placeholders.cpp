#include "Placeholders.h"

#include "GameUI.h"

void CloseHighScores() {}

void ShowHowToPlay(HWND) {}

void ShowAbout(HWND) {}

void CWinGameHost::RunAdvancedOptionsDialog() {}

void CWinGameHost::LoadHighScores() {}

bool CWinGameHost::ScoreQualifies(int32_t) {
    return false;
}

void CWinGameHost::AskPlayerName(char*) {}

void CWinGameHost::WriteHighScoreGameRecord(uint64_t, uint32_t, const char*) {}

void CWinGameHost::InsertHighScore(int32_t, const char*, int16_t, int64_t) {}

void CWinGameHost::ShowHighScores() {}

void CWinGameHost::ResetHighScores() {}

void CWinGameHost::SaveHighScores() {}
