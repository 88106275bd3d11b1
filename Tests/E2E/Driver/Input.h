// Real keyboard and mouse input through SendInput, as a person would type and click: virtual-key
// codes (Wine ignores input given by scan code alone) and modifiers as separate key presses.
#pragma once

#include <windows.h>

enum Modifiers : unsigned {
    kNoModifiers = 0,
    kShift = 1,
    kCtrl = 2,
    kAlt = 4,
};

void KeyDown(WORD vk);
void KeyUp(WORD vk);
// KeyUp for clean-up paths: never fails the test.
void ReleaseKey(WORD vk) noexcept;
// Presses and releases the modifiers around one press of `vk`.
void PressKey(WORD vk, unsigned modifiers = kNoModifiers);

// Moves the keyboard focus to `window` (activating it); fails the test when it does not get it.
void BringToFront(HWND window, const char* what);

void EnsureNumLockOn();

// Screen coordinates.
void MouseDown(POINT at);
void MouseMoveTo(POINT at);
void MouseUp(POINT at);
void ClickAt(POINT at);
