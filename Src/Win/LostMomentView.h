// Game > Where Could I Have Survived?: once a game has ended, the board shows the position just
// before its fatal action with what would have survived that turn, until a key, a click or a
// command brings the final position back.
#pragma once

#include <windows.h>

void ShowLostMoment();
// For the main window, before it handles `message`: while the moment is shown, a key press, a
// click or a command brings the final position back. True when that is all the message does:
// a key or a click, and the keys of every command but New Game and the quits.
bool LostMomentTakesMessage(UINT message, WPARAM wParam);
