// A game saved as an animated GIF, the same picture the replay tool writes of its record: the
// game on the board (File > Save Animation...) or a listed one (the High Scores list's
// Save Animation...), under a name the player chooses in the system's Save dialog.
#pragma once

#include "HighScoreTable.h"
#include "Preferences.h"

#include <windows.h>

#include <string>

class CGame;

// Whether the board shows a game with at least one action: the one under way, the one just
// ended, the demo.
bool CanSaveGameAnimation(const CGame& game);
// Under the live settings, with the dialog over the main window.
void SaveGameAnimation();
// The note on a listed game whose record is missing or damaged.
extern const char* const kListedRecordGoneText;
// A listed game was played under the standard settings: they are the ones it is shown under, in
// the live sprite set, grid style and Sound switch, for the live player.
CPreferences2 ListedGameSettings();
// The path of the row's record in "High Score Games"; empty when it has none.
std::string ListedGameRecordPath(const HighScoreEntry& row);
// Under the standard settings it was played under, in the live sprite set and grid style, with
// the dialog over `owner`.
void SaveListedGameAnimation(HWND owner, const HighScoreEntry& row);
