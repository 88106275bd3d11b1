// The high-score list on Windows: its file in the data folder, the name dialog of a game that
// enters the list, and the "High Scores" window that shows the list.
#pragma once

#include "Game.h"

#include <windows.h>

#include <string>

// Where "High Scores.txt" lives; the data folder is created on the way.
std::string HighScoresFilePath();

// While the name dialog is open, the name typed so far becomes the player's name.
void TakeTypedPlayerName(CGame& game);

// Repaints the list window if it is open.
void RepaintHighScores();
// Whether the message is a key that chooses or watches a row of the list window, which is its
// own and no command of the main window.
bool IsHighScoresListKey(const MSG& msg);

// Closes the list window, if it is open, once it has stored its placement in the preferences.
void CloseHighScores();
