// A simple automatic player for the benchmarks: it takes a step that survives the robots'
// next step when there is one, else the screwdriver, else a teleport.
#pragma once

#include "Game.h"

#include <string>

// Whether standing on (x, y) survives the robots' next step.
bool IsSafe(const CGame& game, int x, int y);
void PlayOneAction(CGame& game);
// The actions of a move string: every character but the ". " between levels.
int CountActions(const std::string& moves);
