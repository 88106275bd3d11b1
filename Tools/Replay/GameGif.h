// A game record as an animated GIF: the first position of each level and the position after
// each action, each shown about as long as the game takes for it at normal speed.
#pragma once

#include "BoardArt.h"

#include <cstdint>
#include <vector>

class CPreferencesStore;

struct GifPart {
    // Actions counted from 1; the position before `firstAction` comes first. A `lastAction`
    // of 0 runs to the record's end.
    int firstAction = 1;
    int lastAction = 0;
    int scale = 1;
};

// The actions of a move string: every character but the level separators and white space.
int CountRecordActions(const char* moves);

// The GIF of the game that `moves` play from `startTime` under the settings of `prefsStore`
// (null: the defaults); `frames` gets the number of frames. The random generator is left as it
// was, so that a game under way may be filmed.
std::vector<uint8_t> MakeGameGif(int64_t startTime, const char* moves,
                                 CPreferencesStore* prefsStore, const BoardArt& art,
                                 const GifPart& part, int* frames = nullptr);
