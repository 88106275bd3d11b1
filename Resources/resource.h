/* Identifiers of the program's resources, grouped by kind. Plain macros: the resource
   script includes this file too. */
#ifndef CLANKMERE_RESOURCE_H
#define CLANKMERE_RESOURCE_H

#include "../Src/CommandIds.h"

/* Menus and accelerators */
#define IDR_MAIN_MENU 102
#define IDR_ACCELERATORS 103

/* Icons */
#define IDI_ROBOT 109
#define IDI_ROBOT_SMALL 111

/* Dialogs */
#define IDD_HIGH_SCORE_NAME 108

/* Control of the high-score name dialog (its button is IDOK) */
#define IDC_PLAYER_NAME 1003

/* Bitmaps */
#define IDB_GAME_ICONS 112
#define IDB_HELP 115
#define IDB_GRID_ICONS 118

#endif
