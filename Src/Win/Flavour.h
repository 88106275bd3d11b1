// The two builds of the program share every source; the one for Windows 9x (CLANKMERE_9X)
// differs only in these few points.
#pragma once

#include "Game.h"

#include <windows.h>

#ifdef CLANKMERE_9X
constexpr bool kProbeImageFolder = false;
constexpr bool kBeepOnRefusal = false;
// The same kinds of input as QS_ALLEVENTS, without raw input, which those systems lack.
constexpr DWORD kIdleWakeMask = 0xBF;
constexpr int64_t kBuiltInDemoSeed = kDemo9xSeed;
constexpr const char* kBuiltInDemoMoves = kDemo9xMoves;
#else
constexpr bool kProbeImageFolder = true;
constexpr bool kBeepOnRefusal = true;
constexpr DWORD kIdleWakeMask = 0x4BF;
constexpr int64_t kBuiltInDemoSeed = kDemoSeed;
constexpr const char* kBuiltInDemoMoves = kDemoMoves;
#endif
