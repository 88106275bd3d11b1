// Moving by mouse: a press on one of the movement arrows (or on the player) is followed until
// the button is released, with the target under the pointer shown inverted meanwhile.
#pragma once

#include "Game.h"
#include "GameGraphics.h"

#include <windows.h>

bool CanTrackMouse(const CGame& game);
// Runs from the press at `point` (client coordinates) to the release, then makes the step of
// the arrow released over, or a wait when released over the player.
void TrackMouseMove(CGame& game, CGameGraphics& graphics, HWND hWnd, POINT point);
