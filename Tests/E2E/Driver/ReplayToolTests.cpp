// The replay tool for Windows players: the console program beside the game replays a record
// that the game wrote, from its Windows path with blanks and its CR LF lines, and prints what
// the native tool prints, with Windows line ends.

#include "Scenario.h"

namespace {

// Everything a console program writes to its standard output until it ends.
std::string OutputOf(const std::string& program, const std::string& argument) {
    HANDLE output = nullptr;
    HANDLE programOutput = nullptr;
    if (!CreatePipe(&output, &programOutput, nullptr, 0)) {
        Fail("cannot make a pipe (error %lu)", GetLastError());
    }
    SetHandleInformation(programOutput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = programOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string commandLine = "\"" + program + "\" \"" + argument + "\"";
    PROCESS_INFORMATION process = {};
    const bool started =
        CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       DETACHED_PROCESS, nullptr, nullptr, &startup, &process) != 0;
    CloseHandle(programOutput);
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (started && ReadFile(output, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    CloseHandle(output);
    if (!started) {
        Fail("cannot start %s (error %lu)", program.c_str(), GetLastError());
    }
    WaitForSingleObject(process.hProcess, kPatienceMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return text;
}

std::string WithWindowsLineEnds(const std::string& text) {
    std::string converted;
    for (const char c : text) {
        converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return converted;
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

    const std::string printed = OutputOf(context.installDir + "\\clankmere-replay.exe", lastGame);
    const std::string native = ReadFileBytes(
        Format("%s\\game-over.%zu.board", context.gamesDir.c_str(), resumed.moves.size()));
    if (native.empty() || printed != WithWindowsLineEnds(native)) {
        Fail(
            "for %s clankmere-replay.exe printed\n%s\ninstead of what the native tool printed:\n%s",
            lastGame.c_str(), printed.c_str(), native.c_str());
    }
}
