// Crisp play on screens of more than 96 dots per inch: the program asks the system not to
// stretch its window, and shows its frame at a whole-number scale instead.
#pragma once

#include <windows.h>

// Per-monitor awareness for systems that do not read it from the program's manifest. Runs
// before the first window is made.
void EnableDpiAwareness();
// The dots per inch of the monitor the window stands on.
UINT WindowDpi(HWND hWnd);
// The dots per inch of the monitor nearest to `area`, for a window about to be placed there.
UINT MonitorDpiNear(const RECT& area);
// The dots per inch a dialog is laid out at: the monitor's where the system scales dialogs for
// it (aware in the second way, Windows 10 1703 on), else the system's, at which the dialog font
// is made and stays wherever the dialog goes (Windows 8.1 and 10 1607).
UINT DialogDpi(HWND hDlg);
// The outer size of a window with the style and menu of `hWnd` around a client area of
// `client` on a monitor of `dpi`. Every window size comes from here: caption and menu are
// measured at `dpi` only where the system draws them so.
SIZE WindowSizeForClient(HWND hWnd, SIZE client, UINT dpi);
// The same around the main window's frame shown at `scale`.
SIZE FrameWindowSize(HWND hWnd, int scale, UINT dpi);
// The scale at which the frame is shown at `dpi` on the monitor nearest to `area`.
int ChooseFrameScale(HWND hWnd, UINT dpi, const RECT& area);
// The scale at which the frame is shown once a move has brought the window onto a monitor of
// `dpi`: the system names only the dpi before the move, and the monitor is the one of that dpi
// the window overlaps most or stands nearest to.
int ChooseFrameScaleForMove(HWND hWnd, UINT dpi);
// The work area of the monitor nearest to `area`; the desktop's where monitors are unknown.
RECT WorkAreaNear(const RECT& area);
// `window` moved no farther than needed to lie inside `work`; a window larger than the work
// area keeps its top-left corner inside it.
RECT KeptInside(const RECT& window, const RECT& work);
