#pragma once

#include "Synth.h"

namespace artgen {

// Crunching metal with a falling thud.
Samples robotDiesSound();
// Three rising notes.
Samples introSound();
// A wailing voice sliding down.
Samples playerDiesSound();
// An electric buzz that ends in a zap.
Samples screwdriverSound();
// A shimmering sweep upwards.
Samples teleportSound();

} // namespace artgen
