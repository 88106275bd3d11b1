// clankmere-kill-test [ROUNDS]
// Starts clankmere-kill-writer, lets it rewrite the high-score list, a saved game and a record
// for a random 0 to 20 ms, kills it with SIGKILL and checks every file: each must still be one
// of its two complete versions, byte for byte and as the program reads it (a leftover
// "<file>.new" is allowed). ROUNDS times, 300 by default. Prints what it saw; exits 1 at the
// first damaged file.
#include "RewrittenFiles.h"
#include "TestFiles.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const char* const kWriter = CLANKMERE_KILL_WRITER;

class CTestFailure {
public:
    explicit CTestFailure(std::string what) : m_what(std::move(what)) {}
    const std::string& What() const { return m_what; }

private:
    std::string m_what;
};

// Returns once the writer has said that it is writing.
pid_t StartWriter(const std::string& folder) {
    int output[2];
    if (pipe(output) != 0) {
        throw CTestFailure("cannot make a pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addclose(&actions, output[1]);
    char* const argv[] = {const_cast<char*>(kWriter), const_cast<char*>(folder.c_str()), nullptr};
    pid_t pid = 0;
    const int spawnError = posix_spawn(&pid, kWriter, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    char c = '\0';
    while (spawnError == 0 && c != '\n' && read(output[0], &c, 1) == 1) {
    }
    close(output[0]);
    if (c != '\n') {
        throw CTestFailure(std::string("the writer ") + kWriter + " did not start");
    }
    return pid;
}

void KillWriter(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != 0) {
        throw CTestFailure("the writer ended by itself");
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
}

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

struct Tally {
    int rounds = 0;
    int endedIn[kRewrittenFileCount][kVersionCount] = {};
    int leftNewFile[kRewrittenFileCount] = {};
};

void CheckFilesAfterKill(const CVersionIdentifier& identifier, const std::string& folder, int round,
                         int delayUs, Tally& tally) {
    for (int file = 0; file < kRewrittenFileCount; ++file) {
        std::string problem;
        const int version = identifier.Identify(folder, file, problem);
        if (version < 0) {
            throw CTestFailure("round " + std::to_string(round) + ", killed after " +
                               std::to_string(delayUs) + " us: \"" + RewrittenFileName(file) +
                               "\" " + problem);
        }
        ++tally.endedIn[file][version];
        tally.leftNewFile[file] += Exists(RewrittenFilePath(folder, file) + ".new") ? 1 : 0;
    }
}

void RunRounds(int rounds, const std::string& folder, const CVersionIdentifier& identifier,
               Tally& tally) {
    std::mt19937 rng(std::random_device{}());
    std::uniform_int_distribution<int> delayUs(0, 20000);
    for (int file = 0; file < kRewrittenFileCount; ++file) {
        WriteVersion(folder, file, 0);
    }
    for (int round = 1; round <= rounds; ++round) {
        const pid_t writer = StartWriter(folder);
        const int delay = delayUs(rng);
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        KillWriter(writer);
        CheckFilesAfterKill(identifier, folder, round, delay, tally);
        tally.rounds = round;
    }
    // Version 1 is the writer's first: a file never found in it was never rewritten.
    for (int file = 0; file < kRewrittenFileCount; ++file) {
        if (tally.endedIn[file][1] == 0) {
            throw CTestFailure(std::string("the writer never replaced \"") +
                               RewrittenFileName(file) + "\"");
        }
    }
}

void PrintTally(const Tally& tally, const CVersionIdentifier& identifier) {
    std::printf("%d rounds, each killing the writer after 0 to 20 ms\n", tally.rounds);
    for (int file = 0; file < kRewrittenFileCount; ++file) {
        std::printf("%-16s whole after every kill: %d times the %zu-byte version, %d times the "
                    "%zu-byte one; a leftover .new file %d times\n",
                    RewrittenFileName(file), tally.endedIn[file][0],
                    identifier.VersionSize(file, 0), tally.endedIn[file][1],
                    identifier.VersionSize(file, 1), tally.leftNewFile[file]);
    }
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 300;
    if (argc > 2 || rounds <= 0) {
        std::fprintf(stderr, "usage: clankmere-kill-test [ROUNDS]\n");
        return 2;
    }
    CTempDir dir;
    const std::string folder = dir.Path("data");
    const std::string referenceFolder = dir.Path("reference");
    mkdir(folder.c_str(), 0700);
    mkdir(referenceFolder.c_str(), 0700);
    const CVersionIdentifier identifier(referenceFolder);
    Tally tally;
    try {
        RunRounds(rounds, folder, identifier, tally);
    } catch (const CTestFailure& failure) {
        std::printf("FAILED: %s\n", failure.What().c_str());
        return 1;
    }
    PrintTally(tally, identifier);
    return 0;
}
