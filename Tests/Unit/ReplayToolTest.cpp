// The replay tool as players and scripts use it: its output, its messages and exit codes.
#include "Preferences.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace {

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

ToolRun RunTool(const std::string& arguments, const CTempDir& dir) {
    const std::string errPath = dir.Path("stderr.txt");
    const std::string command =
        std::string(CLANKMERE_REPLAY_TOOL) + " " + arguments + " 2>" + errPath;
    FILE* pipe = popen(command.c_str(), "r");
    ToolRun run{-1, "", ""};
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, got);
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(errPath);
    return run;
}

class ReplayToolTest : public ::testing::Test {
protected:
    CTempDir dir;
    std::string record = dir.Path("game.txt");
};

TEST_F(ReplayToolTest, PrintsTheDemoGamesFinalPosition) {
    WriteFile(record,
              "Time:\t1294692844\r\nScore:\t0\r\nPlatform:\tx\r\nMoves:\t474S9666T2222114\r\n");
    const ToolRun run = RunTool(record, dir);
    EXPECT_EQ(run.exitCode, 0);
    std::string expected = "score: 60\nlevel: 1\nscrewdrivers: 0\nover: yes\nmoves: "
                           "474S9666T2222114\nboard:\n";
    for (int y = 0; y < 18; ++y) {
        std::string row(31, '.');
        if (y == 7) {
            row[16] = 'S';
            row[24] = 'A';
        }
        expected += row + "\n";
    }
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "");
}

TEST_F(ReplayToolTest, GamesThatGoOnAndChangedSettings) {
    WriteFile(record, "Time:\t1294692844\r\nMoves:\t5\r\n");
    ToolRun standard = RunTool(record, dir);
    EXPECT_NE(standard.out.find("over: no\nmoves: 5\n"), std::string::npos) << standard.out;
    const std::string prefsPath = dir.Path("prefs.bin");
    CPreferencesFile file(prefsPath.c_str());
    CPreferences2 prefs(&file);
    prefs.m_robotsBase = 40;
    ASSERT_TRUE(prefs.Save());
    ToolRun changed = RunTool("--prefs " + prefsPath + " " + record, dir);
    EXPECT_EQ(changed.exitCode, 0);
    EXPECT_NE(changed.out, standard.out);
}

TEST_F(ReplayToolTest, BadInputIsNamedWithExitCodeTwo) {
    ToolRun missing = RunTool(record, dir);
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find(record), std::string::npos) << missing.err;
    EXPECT_EQ(missing.out, "");

    WriteFile(record, "Score:\t5\r\nMoves:\t55\r\n");
    ToolRun noTime = RunTool(record, dir);
    EXPECT_EQ(noTime.exitCode, 2);
    EXPECT_NE(noTime.err.find("Time:"), std::string::npos) << noTime.err;

    WriteFile(record, "Time:\t5\r\nMoves:\t55\r\n");
    const std::string prefsPath = dir.Path("prefs.bin");
    WriteFile(prefsPath, std::string(195, '\0'));
    ToolRun shortPrefs = RunTool("--prefs " + prefsPath + " " + record, dir);
    EXPECT_EQ(shortPrefs.exitCode, 2);
    EXPECT_NE(shortPrefs.err.find(prefsPath), std::string::npos);
    WriteFile(prefsPath, std::string(196, '\0'));
    EXPECT_EQ(RunTool("--prefs " + prefsPath + " " + record, dir).exitCode, 2) << "bad markers";

    EXPECT_EQ(RunTool("", dir).exitCode, 2);
    EXPECT_EQ(RunTool("a b", dir).exitCode, 2);
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << "one line";
}

} // namespace
