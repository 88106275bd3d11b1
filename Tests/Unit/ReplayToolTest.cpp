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
}

} // namespace
