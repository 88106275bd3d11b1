// Any file read as a game record, and its moves replayed as a stored game is.
#include "../Unit/TestFiles.h"
#include "Game.h"
#include "GameRecord.h"
#include "NullGameHost.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CNullGameHost host;
    static CGame game(host, nullptr);
    static const CTempDir dir;
    static const std::string path = dir.Path("input");
    WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));
    uint64_t startTime = 0;
    uint32_t score = 0;
    char* moves = LoadGameRecordFile(path.c_str(), &startTime, &score);
    if (!moves) {
        return 0;
    }
    if (std::strlen(moves) >= size) {
        std::abort(); // the move string can never be longer than the file
    }
    ReplayStoredGame(game, startTime != 0 ? static_cast<int64_t>(startTime) : 1, moves);
    std::free(moves);
    return 0;
}
