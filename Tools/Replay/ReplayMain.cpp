// clankmere-replay [--prefs FILE] [--explain [--tsv] | --gif OUT [--scale N] [--actions A-B]]
//                  RECORD
// Replays a game record as the game restores one and prints the final position, or with
// --explain where the game could have been saved, or with --gif writes the game as an animated
// picture.
#include "Explanation.h"
#include "Game.h"
#include "GameRecord.h"
#include "GifCommand.h"
#include "NullGameHost.h"
#include "Preferences.h"
#include "ReplayArguments.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kExitBadInput = 2;

int Fail(const char* file, const char* reason) {
    std::fprintf(stderr, "clankmere-replay: %s: %s\n", file, reason);
    return kExitBadInput;
}

int Usage() {
    std::fprintf(stderr, "usage: clankmere-replay [--prefs FILE] [--explain [--tsv] | "
                         "--gif OUT [--scale N] [--actions A-B]] RECORD\n");
    return kExitBadInput;
}

// Checks the preferences file before the game reads it, so that a damaged one is reported
// instead of silently replaced by the defaults.
const char* CheckPreferencesFile(const char* path) {
    CPreferencesFile file(path);
    CPreferences2 prefs(&file);
    if (!prefs.Load()) {
        return "not a 196-byte preferences record";
    }
    return prefs.IsValid() ? nullptr : "bad markers, size or version in the preferences record";
}

void PrintPosition(const CGame& game) {
    std::printf("score: %d\n", static_cast<int>(game.m_score));
    std::printf("level: %u\n", static_cast<unsigned>(game.m_level));
    std::printf("screwdrivers: %d\n", static_cast<int>(game.m_screwdrivers));
    std::printf("over: %s\n", game.m_gameOver ? "yes" : "no");
    std::printf("moves: %s\n", game.m_moveLog ? game.m_moveLog : "");
    std::printf("board:\n");
    for (int y = 0; y < kGridHeight; ++y) {
        char row[kGridWidth + 1];
        for (int x = 0; x < kGridWidth; ++x) {
            const uint8_t cell = game.Cell(x, y);
            row[x] = cell == kCellEmpty ? '.' : static_cast<char>(cell);
        }
        row[kGridWidth] = '\0';
        std::printf("%s\n", row);
    }
}

struct Arguments {
    const char* prefsPath = nullptr;
    const char* recordPath = nullptr;
    bool explain = false;
    bool tsv = false;
    GifRequest gif;
};

bool ParseArguments(const std::vector<std::string>& argv, Arguments& args) {
    for (size_t i = 0; i < argv.size(); ++i) {
        if (argv[i] == "--prefs" && i + 1 < argv.size() && !args.prefsPath) {
            args.prefsPath = argv[++i].c_str();
        } else if (argv[i] == "--explain" || argv[i] == "--tsv") {
            (argv[i] == "--tsv" ? args.tsv : args.explain) = true;
        } else if (argv[i][0] != '-' && !args.recordPath) {
            args.recordPath = argv[i].c_str();
        } else if (!ParseGifArgument(argv, i, args.gif)) {
            return false;
        }
    }
    const bool gifOptionsAlone = !args.gif.outPath && (args.gif.scaleText || args.gif.actionsText);
    return args.recordPath != nullptr && (args.explain || !args.tsv) && !gifOptionsAlone &&
           !(args.explain && args.gif.outPath);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> argumentList = ReplayArguments(argc, argv);
    Arguments args;
    if (!ParseArguments(argumentList, args)) {
        return Usage();
    }
    const std::string gifProblem = CheckGifRequest(args.gif);
    if (!gifProblem.empty()) {
        std::fprintf(stderr, "clankmere-replay: %s\n", gifProblem.c_str());
        return kExitBadInput;
    }
    if (args.prefsPath) {
        if (const char* problem = CheckPreferencesFile(args.prefsPath)) {
            return Fail(args.prefsPath, problem);
        }
    }
    uint64_t startTime = 0;
    char* moves = LoadGameRecordFile(args.recordPath, &startTime, nullptr);
    if (!moves) {
        return Fail(args.recordPath, "missing, empty or unreadable game record");
    }
    if (startTime == 0) {
        std::free(moves);
        return Fail(args.recordPath, "the record has no non-zero \"Time:\" value, so it cannot "
                                     "be replayed faithfully");
    }
    if (args.gif.outPath) {
        const int status = WriteRecordGif(args.gif, argv[0], static_cast<int64_t>(startTime), moves,
                                          args.prefsPath);
        std::free(moves);
        return status;
    }
    CNullGameHost host;
    CPreferencesFile prefsFile(args.prefsPath ? args.prefsPath : "");
    CGame game(host, args.prefsPath ? &prefsFile : nullptr);
    if (args.explain) {
        const std::string problem =
            ExplainRecord(game, static_cast<int64_t>(startTime), moves, args.tsv);
        std::free(moves);
        return problem.empty() ? 0 : Fail(args.recordPath, problem.c_str());
    }
    ReplayStoredGame(game, static_cast<int64_t>(startTime), moves);
    std::free(moves);
    PrintPosition(game);
    return 0;
}
