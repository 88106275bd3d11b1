// The replay tool as players and scripts use it: its output, its messages and exit codes.
#include "Preferences.h"
#include "ReplayToolFixture.h"

#include <algorithm>

namespace {

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
    // The explanation's own mistakes: a table without it, and moves that are no actions.
    WriteFile(record, "Time:\t5\r\nMoves:\t55X5\r\n");
    for (const std::string& arguments : {"--tsv " + record, "--explain " + record}) {
        EXPECT_EQ(Run(arguments), 2) << arguments;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << arguments << ": " << err;
        EXPECT_EQ(out, "") << arguments;
    }
    EXPECT_NE(err.find(record + ": damaged record: character 3 "), std::string::npos) << err;
}

TEST_F(ReplayToolTest, ExplainsWhereTheGameCouldHaveBeenSaved) {
    // Cornered twice, saved by the screwdriver and a teleport, then a fatal wait.
    WriteFile(record, "Time:\t1700000000\r\nMoves:\t777778855555S55T7777777778 5\r\n");
    EXPECT_EQ(Run("--explain " + record), 0) << err;
    EXPECT_EQ(out, "Action 13 (level 1): no step or wait was safe; you used the screwdriver and "
                   "survived.\n"
                   "Action 16 (level 1): no step or wait was safe; you teleported and landed "
                   "safely.\n"
                   "The game ended at action 27 (level 1), when you waited. These would have "
                   "survived that turn: step up-right, step right, step down-right, teleport.\n"
                   "Summary: 27 actions over 1 level, 2 turns with no safe step or wait, 4 safe "
                   "alternatives missed at the fatal moment.\n");
    // Cornered four times; the last time nothing helps.
    WriteFile(record, "Time:\t1700000123\r\nMoves:\t1234T69693693S8T86123456789456145\r\n");
    EXPECT_EQ(Run("--explain " + record), 0) << err;
    EXPECT_EQ(out, "Action 5 (level 1): no step or wait was safe; you teleported and landed "
                   "safely.\n"
                   "Action 14 (level 1): no step or wait was safe; you used the screwdriver and "
                   "survived.\n"
                   "Action 16 (level 1): no step or wait was safe; you teleported and landed "
                   "safely.\n"
                   "Action 33 (level 1): no step or wait was safe; you waited and died.\n"
                   "The game ended at action 33 (level 1), when you waited. Nothing would have "
                   "survived that turn.\n"
                   "Summary: 33 actions over 1 level, 4 turns with no safe step or wait, 0 safe "
                   "alternatives missed at the fatal moment.\n");
    // The fourth teleport of this game lands on a robot; the screwdriver is still there.
    WriteFile(record, "Time:\t1700000021\r\nMoves:\tTTTT\r\n");
    EXPECT_EQ(Run("--explain --tsv " + record), 0) << err;
    EXPECT_EQ(out, "T\t9\t1\t1\nT\t9\t1\t1\nT\t9\t1\t1\nT\t6\t0\t1\n");
    // A game still under way, and one whose screwdriver is used up.
    WriteFile(record, "Time:\t1294692844\r\nMoves:\t474S96\r\n");
    EXPECT_EQ(Run("--tsv --explain " + record), 0) << err;
    EXPECT_EQ(out, "4\t6\t1\t1\n7\t6\t1\t1\n4\t4\t1\t1\nS\t1\t1\t1\n9\t9\t1\t-\n6\t9\t1\t-\n");
    EXPECT_EQ(Run("--explain " + record), 0) << err;
    EXPECT_EQ(out, "The game is still under way after action 6 (level 1).\n"
                   "Summary: 6 actions over 1 level, 0 turns with no safe step or wait, the game "
                   "is still under way.\n");
}

} // namespace
