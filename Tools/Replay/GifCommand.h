// clankmere-replay --gif OUT [--scale N] [--actions A-B]: the checks of those arguments and the
// writing of the picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct GifRequest {
    const char* outPath = nullptr;
    const char* scaleText = nullptr;
    const char* actionsText = nullptr;
};

// Takes argument `i` (and its value, moving `i` past it) when it is --gif, --scale or
// --actions given once; false otherwise.
bool ParseGifArgument(const std::vector<std::string>& argv, size_t& i, GifRequest& request);
// What is wrong with the scale or the part asked for; empty when nothing is.
std::string CheckGifRequest(const GifRequest& request);
// Writes the GIF of the record's game; on failure says why on one line and returns 2.
int WriteRecordGif(const GifRequest& request, const char* toolPath, int64_t startTime,
                   const char* moves, const char* prefsPath);
