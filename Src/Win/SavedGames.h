// Game records on Windows: every record names the running system; the saved game of the last
// run is resumed at start-up; Ctrl+S and Ctrl+O save and open records the player chooses.
#pragma once

#include <cstdint>

class CGameUI;

// The data subfolder the file dialogs suggest first.
extern const char* const kSavedGamesFolder;

// Writes a record whose "Platform:" line describes the running system; true when it is written.
bool WriteGameRecord(const char* path, uint64_t startTime, uint32_t score, const char* moves);

// Replays "Saved Game.txt" (and deletes it) or starts a fresh game; a game is under way after.
void ResumeSavedGame();
void SaveGameAs(CGameUI& context);
void OpenSavedGame(CGameUI& context);
