// The two builds of the program share every source; the one for Windows 9x (CLANKMERE_9X)
// differs only in these few points.
#pragma once

#include "Game.h"

#include <windows.h>

#ifdef CLANKMERE_9X
constexpr bool kProbeImageFolder = false;
constexpr bool kBeepOnRefusal = false;
// Those systems know nothing of dots per inch per program: the frame keeps its own size.
constexpr bool kDpiAware = false;
// The same kinds of input as QS_ALLEVENTS, without raw input, which those systems lack.
constexpr DWORD kIdleWakeMask = 0xBF;
constexpr DWORD kAnyInputMask = QS_ALLINPUT & ~QS_RAWINPUT;
constexpr int64_t kBuiltInDemoSeed = kDemo9xSeed;
constexpr const char* kBuiltInDemoMoves = kDemo9xMoves;
#else
constexpr bool kProbeImageFolder = true;
constexpr bool kBeepOnRefusal = true;
constexpr bool kDpiAware = true;
constexpr DWORD kIdleWakeMask = 0x4BF;
constexpr DWORD kAnyInputMask = QS_ALLINPUT;
constexpr int64_t kBuiltInDemoSeed = kDemoSeed;
constexpr const char* kBuiltInDemoMoves = kDemoMoves;
#endif

// Sleeps until input of the kinds in `wakeMask` arrives or `timeoutMs` pass. Windows 95 knows
// only the wait without flags; there MWMO_INPUTAVAILABLE is not needed, as every caller empties
// the queue before it waits.
inline DWORD WaitForInput(DWORD timeoutMs, DWORD wakeMask, DWORD flags) {
#ifdef CLANKMERE_9X
    static_cast<void>(flags);
    return MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, wakeMask);
#else
    return MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, wakeMask, flags);
#endif
}
