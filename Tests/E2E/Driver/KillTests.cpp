// Killing the program while it writes its files: the Windows build of the kill test's writer
// (Tests/Kill), which rewrites the high-score list, a saved game and a record with the program's
// own code, is ended by TerminateProcess at random moments, and every file must still be one of
// its two complete versions. E2E_KILL_ROUNDS sets a longer run (and E2E_TIMEOUT its time).
#include "RewrittenFiles.h"
#include "Scenario.h"

#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

constexpr int kDefaultRounds = 200;
constexpr DWORD kMaxRunMs = 20;

int Rounds() {
    const char* text = std::getenv("E2E_KILL_ROUNDS");
    const int rounds = text ? std::atoi(text) : 0;
    return rounds > 0 ? rounds : kDefaultRounds;
}

} // namespace

E2E_TEST(killed_while_writing_leaves_every_file_whole) {
    const std::string writerPath = context.installDir + "\\clankmere-kill-writer.exe";
    const std::string folder = DataFilePath("Kill Test");
    const std::string referenceFolder = DataFilePath("Kill Test Reference");
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA(referenceFolder.c_str(), nullptr);
    const CVersionIdentifier identifier(referenceFolder);
    for (int file = 0; file < kRewrittenFileCount; ++file) {
        WriteVersion(folder, file, 0);
    }
    std::mt19937 rng(std::random_device{}());
    std::uniform_int_distribution<DWORD> runMs(0, kMaxRunMs);
    int endedIn[kRewrittenFileCount][kVersionCount] = {};
    const int rounds = Rounds();
    for (int round = 1; round <= rounds; ++round) {
        Program writer(writerPath, {folder});
        const DWORD ms = runMs(rng);
        Sleep(ms);
        writer.Kill();
        for (int file = 0; file < kRewrittenFileCount; ++file) {
            std::string problem;
            const int version = identifier.Identify(folder, file, problem);
            E2E_CHECK(version >= 0, "round %d, terminated after %lu ms: \"%s\" %s", round, ms,
                      RewrittenFileName(file), problem.c_str());
            ++endedIn[file][version];
        }
    }
    for (int file = 0; file < kRewrittenFileCount; ++file) {
        std::printf("%s: %d times the %zu-byte version, %d times the %zu-byte one\n",
                    RewrittenFileName(file), endedIn[file][0], identifier.VersionSize(file, 0),
                    endedIn[file][1], identifier.VersionSize(file, 1));
        // Version 1 is the writer's first: a file never found in it was never rewritten.
        E2E_CHECK(endedIn[file][1] != 0, "the writer never replaced \"%s\" in %d rounds",
                  RewrittenFileName(file), rounds);
    }
}
