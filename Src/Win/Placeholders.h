// The parts of the program that later work fills in: the dialogs. Until then each does
// nothing, or the least that keeps the program whole.
#pragma once

#include <windows.h>

void ShowHowToPlay(HWND hOwner);
void ShowAbout(HWND hOwner);
