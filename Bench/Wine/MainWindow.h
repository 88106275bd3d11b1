// Finding the program's main window from the outside.
#pragma once

#include <windows.h>

// The visible window of class "Clankmere" belonging to the process, or null.
HWND VisibleMainWindow(DWORD processId);
