// The high-score table in memory: its built-in list and the ranking of new scores.
#include "HighScoreTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int64_t kNow = 1700000000;

int64_t FixedClock() {
    return kNow;
}

struct Row {
    int32_t score;
    const char* name;
    int64_t date;
};

const Row kDefaultRows[kNumHighScores] = {
    {7010, "Curiously Delivered", 0},
    {2010, "Orvin", 449778896},
    {1520, "Fenwright", 1278814757},
    {380, "Baron Grimholt", 0},
    {340, "Oob", 0},
    {310, "Orvin", 0},
    {190, "Marlo", 0},
    {130, "Death", 0},
    {110, "Pellwick", 1287131613},
    {20, "Nobody", 0},
};

void ExpectDefaultList(const CHighScoreTable& table) {
    for (int i = 0; i < kNumHighScores; ++i) {
        const HighScoreEntry& entry = table.Entry(i);
        EXPECT_EQ(entry.score, kDefaultRows[i].score) << "rank " << i + 1;
        EXPECT_STREQ(entry.name, kDefaultRows[i].name) << "rank " << i + 1;
        EXPECT_EQ(entry.date, kDefaultRows[i].date) << "rank " << i + 1;
        EXPECT_EQ(entry.level, 0) << "rank " << i + 1;
    }
}

std::vector<int32_t> Scores(const CHighScoreTable& table) {
    std::vector<int32_t> scores;
    for (int i = 0; i < kNumHighScores; ++i) {
        scores.push_back(table.Entry(i).score);
    }
    return scores;
}

class HighScoreTableTest : public ::testing::Test {
protected:
    CHighScoreTable table{"unused.txt", FixedClock};
};

TEST_F(HighScoreTableTest, StartsWithTheBuiltInListUnchanged) {
    ExpectDefaultList(table);
    EXPECT_FALSE(table.IsDirty());
}

TEST_F(HighScoreTableTest, EqualScoresGoBelowAndTheTenthIsNotBeaten) {
    EXPECT_EQ(table.Insert(7010, "Tie", 1, 5), 2);
    EXPECT_STREQ(table.Entry(1).name, "Tie");
    EXPECT_STREQ(table.Entry(0).name, "Curiously Delivered");

    CHighScoreTable other("unused.txt", FixedClock);
    EXPECT_EQ(other.Insert(20, "Tenth", 1, 5), 0);
    ExpectDefaultList(other);
    EXPECT_FALSE(other.IsDirty()) << "a score that does not enter changes nothing";
}

TEST_F(HighScoreTableTest, RowsMoveDownWholeAndTheLastFallsOff) {
    EXPECT_EQ(table.Insert(9000, "Ace", 12, 5), 1);
    EXPECT_EQ(Scores(table),
              (std::vector<int32_t>{9000, 7010, 2010, 1520, 380, 340, 310, 190, 130, 110}));
    EXPECT_STREQ(table.Entry(9).name, "Pellwick");
    EXPECT_EQ(table.Entry(9).date, 1287131613) << "the moved row keeps its date";
    EXPECT_EQ(table.Entry(0).level, 12);
    EXPECT_TRUE(table.IsDirty());

    EXPECT_EQ(table.Insert(111, "Last", 1, 5), 10);
    EXPECT_EQ(table.Entry(9).score, 111);
    EXPECT_STREQ(table.Entry(8).name, "Death");
}

TEST_F(HighScoreTableTest, QualifyingAgreesWithInsertAndComparesSigned) {
    for (int32_t score : {-1, 0, 19, 20, 21, 110, 7010, 7011, INT32_MAX}) {
        CHighScoreTable fresh("unused.txt", FixedClock);
        const bool qualifies = fresh.QualifiesForTable(score);
        EXPECT_EQ(qualifies, fresh.Insert(score, "X", 1, 5) != 0) << "score " << score;
    }
    table.ClearEntries();
    EXPECT_FALSE(table.QualifiesForTable(-5));
    EXPECT_EQ(table.Insert(-5, "Below", 1, 5), 0);
    EXPECT_TRUE(table.QualifiesForTable(1));
    EXPECT_EQ(table.Insert(1, "Above", 1, 5), 1);
}

TEST_F(HighScoreTableTest, NamesAreBoundedAndNeverEmpty) {
    table.Insert(9000, "", 1, 5);
    EXPECT_STREQ(table.Entry(0).name, "Nobody");
    table.Insert(9000, nullptr, 1, 5);
    EXPECT_STREQ(table.Entry(1).name, "Nobody");

    const std::string longName(40, 'n');
    table.Insert(9000, longName.c_str(), 1, 5);
    const HighScoreEntry& row = table.Entry(2);
    EXPECT_EQ(std::string(row.name), longName.substr(0, 31));
    EXPECT_EQ(row.name[31], '\0');
}

TEST_F(HighScoreTableTest, UnusedNameBytesAreZero) {
    table.Insert(9000, "Al", 1, 5);
    const HighScoreEntry& row = table.Entry(0);
    for (size_t i = 2; i < kHighScoreNameSize; ++i) {
        EXPECT_EQ(row.name[i], '\0') << "byte " << i;
    }
}

TEST_F(HighScoreTableTest, SeparatorsInANameBecomeSpaces) {
    // A TAB, CR or LF would split the row when the file is read back.
    table.Insert(9000, "A\tB\rC\nD", 1, 5);
    EXPECT_STREQ(table.Entry(0).name, "A B C D");
}

TEST_F(HighScoreTableTest, DateZeroMeansNow) {
    table.Insert(9000, "Now", 3, 0);
    EXPECT_EQ(table.Entry(0).date, kNow);
    table.Insert(9500, "Then", 3, 1234);
    EXPECT_EQ(table.Entry(0).date, 1234);
}

TEST_F(HighScoreTableTest, ResetsAndTheChangedFlag) {
    table.Insert(9000, "Ace", 1, 5);
    table.ClearEntries();
    EXPECT_TRUE(table.IsDirty()) << "clearing leaves the flag alone";
    EXPECT_EQ(Scores(table), std::vector<int32_t>(kNumHighScores, 0));
    EXPECT_STREQ(table.Entry(3).name, "");

    table.ResetToDefaults();
    ExpectDefaultList(table);
    EXPECT_FALSE(table.IsDirty());

    table.ClearToDefaults();
    ExpectDefaultList(table);
    EXPECT_TRUE(table.IsDirty()) << "the cleared list must reach the file";
}

TEST(HighScoreGameFileName, UsesTheLow32BitsOfTheStartTime) {
    char name[kHighScoreGameFileNameSize];
    FormatHighScoreGameFileName(name, 1278814757);
    EXPECT_STREQ(name, "hs1278814757.txt");
    FormatHighScoreGameFileName(name, 0x100000005ull);
    EXPECT_STREQ(name, "hs5.txt");
    FormatHighScoreGameFileName(name, 0xFFFFFFFFull);
    EXPECT_STREQ(name, "hs4294967295.txt");
    EXPECT_STREQ(kHighScoreGamesFolder, "High Score Games");
}

} // namespace
