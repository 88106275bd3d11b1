// What the driver and the helper DLL inside the game share: a named block of memory and two
// events, all named after the game's process id.
#pragma once

#include <windows.h>

#include <cstdio>

// Once injected the DLL stays for the rest of the game's life. It logs the WM_COMMAND messages
// whose handling by the main window has finished (animations and keyboard flushes included),
// counts beeps, sounds, file moves and flushes and the board's validations (one per board drawn
// whole), notes the wake masks of waits and the current directory, keeps the latest texts the
// game drew with DrawTextA, and on request writes text into menuText: the menu bar,
//   menu <title>
//   <id> <state> <text>      an item, its state as GetMenuState gives it
// or a line per static text and check box (radio buttons included) of every dialog in the
// game's resources whose text does not fit, each made in the game's process so that it gets the
// game's dialog font:
//   label <dialog caption>|<text as shown>|<pixels the text needs>|<pixels the control has>
// It also sends a window of the game (the main window unless told another) the messages of a
// move to a monitor of other dots per inch, which only the system can send, and only from
// inside the process: their parameters point into it. On the game's own thread it leaves Alt
// down in the key state, as an Alt+Tab does, whose Alt-up goes to the program switched to; and
// it does to the main window what a theme or a text size does: caption and menu of other
// heights (Wine keeps these metrics per process), the frame measured anew at the same outer
// size, and the system's message. Asked to, it stops the game's clock and logs the waits the
// game asks for, so that an animation's schedule reads exactly, however busy the machine.
constexpr LONG kCommandLogSize = 256;
constexpr LONG kWaitLogSize = 512;
constexpr LONG kTextLogSize = 64;

// One DrawTextA call of the game: where and how it drew what.
struct DrawnText {
    RECT rect;
    UINT format;
    char text[96];
};

enum ProbeRequest : LONG {
    kProbeMenus = 0,
    kProbeDialogLabels = 1,
    kProbeDpiScaledSize = 2, // WM_GETDPISCALEDSIZE with dpi; its answer in dpiSize, dpiAnswer
    kProbeDpiChanged = 3,    // WM_DPICHANGED with dpi and dpiRect
    kProbeKeyLeftDown = 4,   // keyLeftDown held in the game's key state, not on the keyboard
    kProbeFrameMetrics = 5,  // captionGrowth, menuGrowth, then metricsMessage
};

struct ProbeShared {
    HWND mainWindow;                           // the game's, written before the DLL loads
    volatile LONG ready;                       // 1 once the hook is in place, -1 if it failed
    volatile LONG commandsDone;                // WM_COMMAND messages handled so far
    volatile LONG commandLog[kCommandLogSize]; // command n is at n % kCommandLogSize
    char menuText[16384];                      // the menu bar, NUL-terminated, on request
    volatile LONG messageBeeps;                // MessageBeep calls
    volatile LONG messageBeepsDone;            // those of them that succeeded
    volatile LONG refusalTones;                // Beep(750 Hz, 300 ms) calls
    volatile LONG idleWakeMask;                // the wake mask of the latest wait of 1 s or more
    volatile LONG wakeMasks;                   // every wake mask of every wait, or-ed together
    char currentDirectory[MAX_PATH];           // the game's current directory when loaded
    volatile LONG request;                     // what the next request asks for
    volatile LONG sounds;                      // PlaySoundA calls
    char lastSound[MAX_PATH];                  // the sound the latest of them played
    char lastSoundPath[MAX_PATH];              // its full path from the current directory then
    volatile LONG soundsWaitedFor;             // those of them without SND_ASYNC
    HWND dpiWindow;                            // the window a DPI message goes to
    volatile LONG dpi;                         // the dots per inch of a DPI message
    RECT dpiRect;                              // the rectangle WM_DPICHANGED suggests
    SIZE dpiSize;                              // the size WM_GETDPISCALEDSIZE gave back
    volatile LONG dpiAnswer;                   // and what it returned
    volatile LONG textsDrawn;                  // DrawTextA calls of the game so far
    DrawnText textLog[kTextLogSize];           // call n at n % kTextLogSize
    volatile LONG captionGrowth;               // pixels added to the caption's height
    volatile LONG menuGrowth;                  // and to the menu bar's
    volatile LONG metricsMessage;              // WM_SETTINGCHANGE or WM_THEMECHANGED
    volatile LONG rectsValidated;              // ValidateRect calls
    volatile LONG replacingMoves;              // MoveFileExA and MoveFileExW calls
    volatile LONG replacingMoveFlags;          // their flags, or-ed together
    volatile LONG plainMoves;                  // MoveFileA calls
    volatile LONG fileFlushes;                 // FlushFileBuffers calls
    // Once the driver sets clockStopped, the game's millisecond counter stands still but for its
    // waits: each wait of an animation or a pause moves it by the time it asks for, the idle
    // wait of the main loop (the one that sent messages do not end) by the time it took.
    volatile LONG clockStopped;
    volatile LONG waitsLogged;           // waits of animations and pauses of more than 0 ms
    volatile LONG waitLog[kWaitLogSize]; // wait n at n % kWaitLogSize: its milliseconds,
                                         // negative when it lets no message through
    volatile LONG keyLeftDown;           // VK_MENU or VK_CONTROL, for kProbeKeyLeftDown
};

inline void ProbeObjectName(char* out, size_t size, const char* kind, unsigned long pid) {
    std::snprintf(out, size, "Local\\clankmere-probe-%s-%lu", kind, pid);
}

constexpr const char* kProbeMappingKind = "shared";
constexpr const char* kProbeRequestKind = "request";
constexpr const char* kProbeReplyKind = "reply";
