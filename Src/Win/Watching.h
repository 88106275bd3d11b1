// Watching a listed game in the main window: the one session of the program, the rows of the
// High Scores list that start it, and the main loop's part in it.
#pragma once

#include "HighScoreTable.h"
#include "WatchSession.h"

#include <windows.h>

extern CWatchSession g_watch;

// Watches the row's game, at once or once the running action has ended; a row whose record is
// missing or damaged gets a note and nothing else changes.
void WatchListedGame(const HighScoreEntry& row);
// Whether `row` is the one being watched.
bool IsWatchedRow(const HighScoreEntry& row);
// What the main loop does between its waits: a watch asked for during an action starts, a stop
// asked for ends watching, and a due action plays.
void RunWatch();
// How long the main loop waits for input before the next watched action is due.
DWORD WatchWaitMs(DWORD idleWaitMs);
