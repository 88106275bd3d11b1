/* Command identifiers of the menu and the accelerator table.
   Plain macros: the resource script includes this file too. */
#ifndef CLANKMERE_COMMAND_IDS_H
#define CLANKMERE_COMMAND_IDS_H

#define IDM_EXIT 1001

#define IDM_STEP_WEST 40001
#define IDM_STEP_EAST 40002
#define IDM_STEP_NORTH 40003
#define IDM_STEP_SOUTH 40004
#define IDM_STEP_NORTH_WEST 40005
#define IDM_STEP_NORTH_EAST 40006
#define IDM_STEP_SOUTH_WEST 40007
#define IDM_STEP_SOUTH_EAST 40008
#define IDM_WAIT 40010
#define IDM_TELEPORT 40012
#define IDM_SCREWDRIVER 40013
#define IDM_LAST_STAND 40014
#define IDM_LAST_STAND_MINUS_1 40015
#define IDM_LAST_STAND_MINUS_2 40016
#define IDM_TOGGLE_GRID 40017
#define IDM_ADVANCED_OPTIONS 40018
#define IDM_QUIT 40020
/* Alt+X: the quit that leaves the stored settings as they are. */
#define IDM_QUIT_KEEPING_SETTINGS 40023
#define IDM_PLATFORM 40021
#define IDM_TOGGLE_COLOR 40022
#define IDM_SOUND 40033
#define IDM_CLEAR_HIGH_SCORES 40035
#define IDM_HOW_TO_PLAY 40036
#define IDM_NEW_GAME 40037
#define IDM_SHOW_HIGH_SCORES 40039
#define IDM_ABOUT 40055
#define IDM_SAVE_GAME 40059
#define IDM_OPEN_GAME 40060
#define IDM_SAVE_ANIMATION 40061
#define IDM_LOST_MOMENT 40070
/* While a listed game is watched: + and -, and Esc, which quits otherwise. */
#define IDM_WATCH_FASTER 40071
#define IDM_WATCH_SLOWER 40072
#define IDM_QUIT_OR_STOP_WATCHING 40073

#endif
