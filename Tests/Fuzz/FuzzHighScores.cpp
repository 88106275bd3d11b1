// Any file read as the high-score list; once a score is entered and the list written, it must
// read back the same.
#include "../Unit/TestFiles.h"
#include "HighScoreTable.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Rows with an empty name do not survive the file format (the two TABs around the name read as
// one), so only named rows are compared.
bool SameNamedRows(const CHighScoreTable& a, const CHighScoreTable& b) {
    for (int i = 0; i < kNumHighScores; ++i) {
        const HighScoreEntry& x = a.Entry(i);
        const HighScoreEntry& y = b.Entry(i);
        if (x.name[0] != '\0' && (x.score != y.score || x.level != y.level ||
                                  x.date / 60 != y.date / 60 || std::strcmp(x.name, y.name) != 0)) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const CTempDir dir;
    static const std::string path = dir.Path("input");
    WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));
    CHighScoreTable table(path.c_str(), [] { return int64_t{1700000000}; });
    table.LoadFromFile();
    for (int i = 0; i < kNumHighScores; ++i) {
        if (std::memchr(table.Entry(i).name, '\0', kHighScoreNameSize) == nullptr) {
            std::abort(); // every name stays terminated
        }
    }
    table.Insert(INT32_MAX, "Fuzz", 3, 0);
    table.SaveToFile();
    CHighScoreTable back(path.c_str(), [] { return int64_t{1700000000}; });
    back.LoadFromFile();
    if (!SameNamedRows(table, back)) {
        std::abort();
    }
    return 0;
}
