#include "Placeholders.h"

#include "GameUI.h"

void ShowHowToPlay(HWND) {}

void ShowAbout(HWND) {}

void CWinGameHost::RunAdvancedOptionsDialog() {}
