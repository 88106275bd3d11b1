// Any 196 bytes as the stored settings record: reading and writing it back is exact, and a game
// runs under whatever it holds once it passes the validity check.
#include "Game.h"
#include "NullGameHost.h"

#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kPrefsRecordSize) {
        return 0;
    }
    uint8_t record[kPrefsRecordSize];
    std::memcpy(record, data, kPrefsRecordSize);
    CPreferences2 prefs;
    prefs.ReadRecord(record);
    uint8_t written[kPrefsRecordSize];
    prefs.WriteRecord(written);
    if (std::memcmp(record, written, kPrefsRecordSize) != 0) {
        std::abort();
    }
    if (!prefs.IsValid()) {
        return 0;
    }
    static CNullGameHost host;
    static CGame game(host, nullptr);
    EnsureGameResources(game);
    game.m_prefs.CopySettingsFrom(prefs);
    // The rest of the input is the move string.
    std::string moves(reinterpret_cast<const char*>(data) + kPrefsRecordSize,
                      size - kPrefsRecordSize);
    ReplayStoredGame(game, 1294692844, moves.c_str());
    return 0;
}
