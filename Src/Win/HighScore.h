// The high-score list on Windows: its file in the data folder, the name dialog of a game that
// enters the list, and the "High Scores" window that shows the list.
#pragma once

#include "Game.h"

#include <string>

// Where "High Scores.txt" lives; the data folder is created on the way.
std::string HighScoresFilePath();

// While the name dialog is open, the name typed so far becomes the player's name.
void TakeTypedPlayerName(CGame& game);

// Closes the list window, if it is open, once it has stored its placement in the preferences.
void CloseHighScores();
