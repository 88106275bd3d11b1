// The replay tool for Windows players: the console program beside the game replays a record
// that the game wrote, from its Windows path with blanks and its CR LF lines, and prints what
// the native tool prints, with Windows line ends.

#include "Scenario.h"

#include <cstdio>

namespace {

// Everything a console program prints for one argument, with the line ends it wrote.
std::string OutputOf(const std::string& program, const std::string& argument) {
    // cmd /c takes the whole line in one more pair of quotes.
    FILE* pipe = _popen(("\"\"" + program + "\" \"" + argument + "\"\"").c_str(), "rb");
    if (!pipe) {
        Fail("cannot start %s", program.c_str());
    }
    std::string text;
    for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) {
        text += static_cast<char>(c);
    }
    _pclose(pipe);
    return text;
}

} // namespace

E2E_TEST(replay_tool_for_windows_prints_what_the_native_tool_prints) {
    // The played move of this record steps into a robot: the game writes "Last Game.txt".
    ResumedGame resumed(context, "game-over");
    EnsureNumLockOn();
    resumed.game.Command(NumericPadKey(resumed.moves[resumed.resumed]), kNoModifiers,
                         "the fatal step");
    const std::string lastGame = DataFilePath("Last Game.txt");
    const GameRecord played = resumed.recorded.Prefix(resumed.moves.size());
    CheckSameGame(lastGame, played, "\"Last Game.txt\"");

    const std::string native = ReadFileBytes(
        Format("%s\\game-over.%zu.board", context.gamesDir.c_str(), resumed.moves.size()));
    std::string expected;
    for (const char c : native) {
        expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    const std::string printed = OutputOf(context.installDir + "\\clankmere-replay.exe", lastGame);
    if (native.empty() || printed != expected) {
        Fail("for %s clankmere-replay.exe printed\n%s\ninstead of what the native tool printed, "
             "with CR LF line ends:\n%s",
             lastGame.c_str(), printed.c_str(), native.c_str());
    }
}
