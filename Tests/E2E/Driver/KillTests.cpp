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
constexpr int kStartAttempts = 3;

int Rounds() {
    const char* text = std::getenv("E2E_KILL_ROUNDS");
    const int rounds = text ? std::atoi(text) : 0;
    return rounds > 0 ? rounds : kDefaultRounds;
}

// A subfolder of the game's data folder, made if missing.
std::string DataSubfolder(const std::string& name) {
    const std::string folder = DataFilePath(name);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// True once the process has written a whole line to `output`.
bool ReadLine(HANDLE output) {
    char c = '\0';
    DWORD read = 0;
    while (c != '\n' && ReadFile(output, &c, 1, &read, nullptr) && read == 1) {
    }
    return c == '\n';
}

class Writer {
public:
    // Returns once the writer has said that it is writing into `folder`.
    Writer(const std::string& path, const std::string& folder) {
        HANDLE output = nullptr;
        HANDLE writerOutput = nullptr;
        if (!CreatePipe(&output, &writerOutput, nullptr, 0)) {
            Fail("cannot make a pipe (error %lu)", GetLastError());
        }
        SetHandleInformation(writerOutput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writerOutput;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        std::string commandLine = "\"" + path + "\" \"" + folder + "\"";
        // Wine now and then fails to start a process (error 1359, an internal error); the files
        // are not touched before the writer runs, so a second try tests the same.
        bool started = false;
        DWORD error = 0;
        for (int attempt = 0; attempt < kStartAttempts && !started; ++attempt) {
            started = CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                     DETACHED_PROCESS, nullptr, nullptr, &startup, &m_process) != 0;
            error = GetLastError();
        }
        CloseHandle(writerOutput);
        const bool writing = started && ReadLine(output);
        CloseHandle(output);
        if (!started) {
            Fail("cannot start %s (error %lu)", path.c_str(), error);
        }
        if (!writing) {
            Close();
            Fail("%s did not start writing", path.c_str());
        }
    }
    ~Writer() { Close(); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void Kill() {
        if (WaitForSingleObject(m_process.hProcess, 0) != WAIT_TIMEOUT) {
            Fail("the writer ended by itself");
        }
        TerminateProcess(m_process.hProcess, 1);
        if (WaitForSingleObject(m_process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
            Fail("the writer did not end when it was terminated");
        }
    }

private:
    void Close() {
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, kPatienceMs);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
        m_process = {};
    }

    PROCESS_INFORMATION m_process = {};
};

} // namespace

E2E_TEST(killed_while_writing_leaves_every_file_whole) {
    const std::string writerPath = context.installDir + "\\clankmere-kill-writer.exe";
    const std::string folder = DataSubfolder("Kill Test");
    const CVersionIdentifier identifier(DataSubfolder("Kill Test Reference"));
    for (int file = 0; file < kRewrittenFileCount; ++file) {
        WriteVersion(folder, file, 0);
    }
    std::mt19937 rng(std::random_device{}());
    std::uniform_int_distribution<DWORD> runMs(0, kMaxRunMs);
    int endedIn[kRewrittenFileCount][kVersionCount] = {};
    const int rounds = Rounds();
    for (int round = 1; round <= rounds; ++round) {
        Writer writer(writerPath, folder);
        const DWORD ms = runMs(rng);
        Sleep(ms);
        writer.Kill();
        for (int file = 0; file < kRewrittenFileCount; ++file) {
            std::string problem;
            const int version = identifier.Identify(folder, file, problem);
            if (version < 0) {
                Fail("round %d, terminated after %lu ms: \"%s\" %s", round, ms,
                     RewrittenFileName(file), problem.c_str());
            }
            ++endedIn[file][version];
        }
    }
    for (int file = 0; file < kRewrittenFileCount; ++file) {
        std::printf("%s: %d times the %zu-byte version, %d times the %zu-byte one\n",
                    RewrittenFileName(file), endedIn[file][0], identifier.VersionSize(file, 0),
                    endedIn[file][1], identifier.VersionSize(file, 1));
        // Version 1 is the writer's first: a file never found in it was never rewritten.
        if (endedIn[file][1] == 0) {
            Fail("the writer never replaced \"%s\" in %d rounds", RewrittenFileName(file), rounds);
        }
    }
}
