// The replay tool for Windows players replays a record the game wrote, from its Windows path
// with blanks and its CR LF lines, and prints what the native tool prints, in CR LF lines.

#include "Scenario.h"

#include <cstdio>

E2E_TEST(replay_tool_for_windows_prints_what_the_native_tool_prints) {
    // The played move of this record steps into a robot: the game writes "Last Game.txt".
    ResumedGame resumed(context, "game-over");
    EnsureNumLockOn();
    resumed.game.Command(NumericPadKey(resumed.moves[resumed.resumed]), kNoModifiers,
                         "the fatal step");
    const std::string lastGame = DataFilePath("Last Game.txt");
    CheckSameGame(lastGame, resumed.recorded.Prefix(resumed.moves.size()), "\"Last Game.txt\"");

    // cmd /c takes the whole line in one more pair of quotes.
    const std::string tool = context.installDir + "\\clankmere-replay.exe";
    FILE* pipe = _popen(("\"\"" + tool + "\" \"" + lastGame + "\"\"").c_str(), "rb");
    std::string printed;
    for (int c = pipe ? std::fgetc(pipe) : EOF; c != EOF; c = std::fgetc(pipe)) {
        printed += static_cast<char>(c);
    }
    if (pipe) {
        _pclose(pipe);
    }
    std::string expected;
    for (const char c : ReadFileBytes(
             Format("%s\\game-over.%zu.board", context.gamesDir.c_str(), resumed.moves.size()))) {
        expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    if (expected.empty() || printed != expected) {
        Fail("clankmere-replay.exe printed\n%s\nnot the native tool's\n%s", printed.c_str(),
             expected.c_str());
    }
}
