/* Identifiers of the program's resources, grouped by kind. Plain macros: the resource
   script includes this file too. */
#ifndef CLANKMERE_RESOURCE_H
#define CLANKMERE_RESOURCE_H

#include "../Src/CommandIds.h"

/* Menus and accelerators */
#define IDR_MAIN_MENU 102
#define IDR_ACCELERATORS 103
#define IDR_HIGH_SCORES_ROW_MENU 104

/* Icons */
#define IDI_ROBOT 109
#define IDI_ROBOT_SMALL 111

/* Dialogs */
#define IDD_HIGH_SCORE_NAME 108
#define IDD_HOW_TO_PLAY 113
#define IDD_ABOUT 114
#define IDD_ADVANCED_OPTIONS 116

/* Control of the high-score name dialog (its button is IDOK) */
#define IDC_PLAYER_NAME 1003

/* Control of the How to Play dialog: the help picture */
#define IDC_HELP_PICTURE 1004

/* Controls of the About dialog: a hidden text and the placeholders the program draws over */
#define IDC_ABOUT_NOTE 1005
#define IDC_ABOUT_TITLE 1006
#define IDC_ABOUT_CREDIT 1007
#define IDC_ABOUT_CREDIT_VERSION 1008
#define IDC_ABOUT_AUTHOR 1009
#define IDC_ABOUT_AUTHOR_VERSION 1010

/* Controls of the Advanced Options dialog (OK and Cancel are IDOK and IDCANCEL) */
#define IDC_DEFAULTS 3
#define IDC_SHOW_ARROWS 2001
#define IDC_SMOLDERING_HEAPS 2002
#define IDC_TELEPORT_ROBOTS 2003
#define IDC_TELEPORT_HEAPS 2004
#define IDC_TELEPORT_ADJACENT 2005
#define IDC_SAFE_ZONE_0 2006
#define IDC_SAFE_ZONE_1 2007
#define IDC_SAFE_ZONE_2 2008
#define IDC_SAFE_ZONE_3 2009
#define IDC_MOVE_AFTER_TELEPORT 2010
#define IDC_MOVE_AFTER_SCREWDRIVER 2011
#define IDC_ROBOTS_BASE 2012
#define IDC_ROBOTS_PER_LEVEL 2013
#define IDC_HEAPS_BASE 2014
#define IDC_HEAPS_PER_LEVEL 2015
#define IDC_ONE_SCREWDRIVER_PER_LEVEL 2016
#define IDC_SCREWDRIVERS_PER_GAME 2017
#define IDC_SCREWDRIVERS_PER_LEVEL 2018
#define IDC_SCREWDRIVER_MULTIPLIER 2019
#define IDC_SCREWDRIVER_RADIUS 2020
#define IDC_UNTIMED_ANIMATION 2021
#define IDC_LAST_STAND_NORMAL 2022
#define IDC_LAST_STAND_FAST 2023
#define IDC_LAST_STAND_UNTIMED 2024
#define IDC_LAST_STAND_MULTIPLIER 2025
#define IDC_MULTIPLE_KILL_MULTIPLIER 2026

/* Bitmaps */
#define IDB_GAME_ICONS 112
#define IDB_HELP 115
#define IDB_GRID_ICONS 118

#endif
