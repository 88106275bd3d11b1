// Crisp play on screens of more than 96 dots per inch: the program asks the system not to
// stretch its window, and shows its frame at a whole-number scale instead.
#pragma once

#include <windows.h>

// Per-monitor awareness for systems that do not read it from the program's manifest. Runs
// before the first window is made.
void EnableDpiAwareness();
// The dots per inch of the monitor the window stands on.
UINT WindowDpi(HWND hWnd);
int SystemMetricForDpi(int index, UINT dpi);
// The outer size of a window with the style and menu of `hWnd` around a client area of
// `client`, at `dpi`.
SIZE WindowSizeForClient(HWND hWnd, SIZE client, UINT dpi);
// The scale at which the frame is shown at `dpi` on the monitor nearest to `area`.
int ChooseFrameScale(HWND hWnd, UINT dpi, const RECT& area);
