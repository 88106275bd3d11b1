// The parts of the program that later work fills in: game records and saved games, the
// high-score table and its windows, the platform description and the dialogs. Until then each
// does nothing, or the least that keeps the program whole.
#pragma once

#include <windows.h>

class CGameUI;

void CloseHighScores();
void SaveGameAs(CGameUI& context);
void OpenSavedGame(CGameUI& context);
void ShowHowToPlay(HWND hOwner);
void ShowAbout(HWND hOwner);
