// The two dialogs of the Help menu, both modal over the main window.
#pragma once

#include <windows.h>

// How to Play: one picture that holds the whole help text.
void ShowHowToPlay(HWND hOwner);
// About: the program's name growing in its box, then the credits.
void ShowAbout(HWND hOwner);
