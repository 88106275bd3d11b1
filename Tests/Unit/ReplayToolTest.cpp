// The replay tool as players and scripts use it: its output, its messages and exit codes.
#include "Preferences.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace {

class ReplayToolTest : public ::testing::Test {
protected:
    CTempDir dir;
    const std::string record = dir.Path("game.txt");
    const std::string prefs = dir.Path("prefs.bin");
    std::string out;
    std::string err;

    // The exit code of the tool run with `arguments`; its output and messages in out and err.
    int Run(const std::string& arguments) {
        const std::string outPath = dir.Path("out.txt");
        const std::string errPath = dir.Path("err.txt");
        const int status = std::system(
            (CLANKMERE_REPLAY_TOOL " " + arguments + " >" + outPath + " 2>" + errPath).c_str());
        out = ReadFile(outPath);
        err = ReadFile(errPath);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(ReplayToolTest, PrintsTheFinalPositionUnderTheGivenSettings) {
    WriteFile(record,
              "Time:\t1294692844\r\nScore:\t0\r\nPlatform:\tx\r\nMoves:\t474S9666T2222\r\n");
    EXPECT_EQ(Run(record), 0);
    const std::string head =
        "score: 40\nlevel: 1\nscrewdrivers: 0\nover: no\nmoves: 474S9666T2222\nboard:\n";
    EXPECT_EQ(out.substr(0, head.size()), head);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 6 + 18) << out;
    const std::string standard = out;
    CPreferencesFile file(prefs.c_str());
    CPreferences2 changed(&file);
    changed.m_robotsBase = 40;
    ASSERT_TRUE(changed.Save());
    EXPECT_EQ(Run("--prefs " + prefs + " " + record), 0);
    EXPECT_NE(out, standard);
}

TEST_F(ReplayToolTest, BadInputIsNamedOnOneLineWithExitCodeTwo) {
    EXPECT_EQ(Run(record), 2);
    EXPECT_NE(err.find(record), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(out, "");
    WriteFile(record, "Score:\t5\r\nMoves:\t55\r\n");
    EXPECT_EQ(Run(record), 2);
    EXPECT_NE(err.find("Time:"), std::string::npos) << err;
    WriteFile(record, "Time:\t5\r\nMoves:\t55\r\n");
    WriteFile(prefs, std::string(195, '\0'));
    EXPECT_EQ(Run("--prefs " + prefs + " " + record), 2);
    EXPECT_NE(err.find(prefs), std::string::npos) << err;
    EXPECT_EQ(Run("a b"), 2);
}

} // namespace
