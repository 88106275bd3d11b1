// "High Scores.txt": the exact bytes written, the reader's tolerance of hand-edited and damaged
// files, and rewrites that never leave a broken file behind.
#include "HighScoreTable.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

const char kDefaultFile[] = "7010\tCuriously Delivered\t0\t0\r\r\n"
                            "2010\tOrvin\t0\t7496314\r\r\n"
                            "1520\tFenwright\t0\t21313579\r\r\n"
                            "380\tBaron Grimholt\t0\t0\r\r\n"
                            "340\tOob\t0\t0\r\r\n"
                            "310\tOrvin\t0\t0\r\r\n"
                            "190\tMarlo\t0\t0\r\r\n"
                            "130\tDeath\t0\t0\r\r\n"
                            "110\tPellwick\t0\t21452193\r\r\n"
                            "20\tNobody\t0\t0\r\r\n";

int64_t FixedClock() {
    return 1700000000;
}

std::string Describe(const HighScoreEntry& row) {
    return std::to_string(row.score) + "|" + row.name + "|" + std::to_string(row.level) + "|" +
           std::to_string(row.date);
}

class HighScoreFileTest : public ::testing::Test {
protected:
    CTempDir dir;
    const std::string path = dir.Path("High Scores.txt");

    // A table that has read `bytes` from its file.
    CHighScoreTable Load(const std::string& bytes) {
        WriteFile(path, bytes);
        CHighScoreTable table(path.c_str(), FixedClock);
        table.LoadFromFile();
        return table;
    }

    std::string Row(const CHighScoreTable& table, int index) {
        return Describe(table.Entry(index));
    }
};

TEST_F(HighScoreFileTest, WritesTenLinesEndingInCrCrLf) {
    CHighScoreTable table(path.c_str(), FixedClock);
    table.ClearToDefaults();
    table.SaveToFile();
    EXPECT_EQ(ReadFile(path), kDefaultFile);
    EXPECT_FALSE(table.IsDirty());
}

TEST_F(HighScoreFileTest, WritesNothingWhileUnchanged) {
    CHighScoreTable table(path.c_str(), FixedClock);
    table.SaveToFile();
    EXPECT_FALSE(std::filesystem::exists(path));
    table.ResetToDefaults();
    table.SaveToFile();
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(HighScoreFileTest, NegativeValuesAndDatesInWholeMinutes) {
    CHighScoreTable table = Load("-40\tMinus\t-3\t1\n");
    table.Insert(5, "Five", 1, 119);
    table.SaveToFile();
    EXPECT_EQ(ReadFile(path).substr(0, 30), "5\tFive\t1\t1\r\r\n-40\tMinus\t-3\t1\r\r\n");
}

TEST_F(HighScoreFileTest, RoundTripKeepsEveryRowToTheMinute) {
    CHighScoreTable table(path.c_str(), FixedClock);
    table.Insert(9000, "Ann Smith", 12, 0);
    table.Insert(500, "Bo", 4, 1278814757);
    table.SaveToFile();

    CHighScoreTable reread(path.c_str(), FixedClock);
    reread.ClearEntries();
    reread.LoadFromFile();
    EXPECT_EQ(Row(reread, 0), "9000|Ann Smith|12|1699999980");
    EXPECT_EQ(Row(reread, 4), "500|Bo|4|1278814740");
    for (int i = 0; i < kNumHighScores; ++i) {
        EXPECT_EQ(reread.Entry(i).score, table.Entry(i).score) << "rank " << i + 1;
        EXPECT_STREQ(reread.Entry(i).name, table.Entry(i).name) << "rank " << i + 1;
        EXPECT_EQ(reread.Entry(i).level, table.Entry(i).level) << "rank " << i + 1;
    }
    EXPECT_FALSE(reread.IsDirty()) << "loading is not a change";
}

TEST_F(HighScoreFileTest, ClearedListIsWhatTheNextRunReads) {
    CHighScoreTable table(path.c_str(), FixedClock);
    table.Insert(9000, "Ace", 3, 0);
    table.SaveToFile();

    CHighScoreTable nextRun(path.c_str(), FixedClock);
    nextRun.LoadFromFile();
    ASSERT_EQ(Row(nextRun, 0), "9000|Ace|3|1699999980");
    nextRun.ClearToDefaults();
    nextRun.SaveToFile();

    CHighScoreTable runAfter(path.c_str(), FixedClock);
    runAfter.ClearEntries();
    runAfter.LoadFromFile();
    EXPECT_EQ(Row(runAfter, 0), "7010|Curiously Delivered|0|0");
    EXPECT_EQ(Row(runAfter, 2), "1520|Fenwright|0|1278814740");
    EXPECT_EQ(Row(runAfter, 9), "20|Nobody|0|0");
}

TEST_F(HighScoreFileTest, MissingFileKeepsTheRows) {
    CHighScoreTable table(dir.Path("absent.txt").c_str(), FixedClock);
    table.LoadFromFile();
    EXPECT_EQ(Row(table, 0), "7010|Curiously Delivered|0|0");
    EXPECT_EQ(Row(table, 9), "20|Nobody|0|0");
}

TEST_F(HighScoreFileTest, EveryLineEndingReadsTheSame) {
    for (const char* end : {"\n", "\r\n", "\r\r\n"}) {
        const std::string e = end;
        CHighScoreTable table = Load("900\tAnn\t2\t10" + e + "800\tBo\t1\t20" + e);
        EXPECT_EQ(Row(table, 0), "900|Ann|2|600") << "ending " << testing::PrintToString(e);
        EXPECT_EQ(Row(table, 1), "800|Bo|1|1200") << "ending " << testing::PrintToString(e);
        EXPECT_EQ(Row(table, 2), "0||0|0") << "ending " << testing::PrintToString(e);
    }
}

TEST_F(HighScoreFileTest, LastLineWithoutEnding) {
    CHighScoreTable table = Load("900\tAnn\t2\t10\n800\tBo\t1\t20");
    EXPECT_EQ(Row(table, 1), "800|Bo|1|1200");
}

TEST_F(HighScoreFileTest, OneLineReplacesTheWholeList) {
    CHighScoreTable table = Load("500\tAce\t3\t21313579\r\r\n");
    EXPECT_EQ(Row(table, 0), "500|Ace|3|1278814740");
    for (int i = 1; i < kNumHighScores; ++i) {
        EXPECT_EQ(Row(table, i), "0||0|0") << "rank " << i + 1;
    }
}

TEST_F(HighScoreFileTest, RunsOfSeparatorsAreOneAndSpacesBelongToTheName) {
    CHighScoreTable table = Load("300\t\t5\t0\n"
                                 "250\tAl Bert \t\r\t7\n"
                                 "200 \t Cy\t1\t2\tignored\textra\n");
    EXPECT_EQ(Row(table, 0), "300|5|0|0");
    EXPECT_EQ(Row(table, 1), "250|Al Bert |7|0");
    EXPECT_EQ(Row(table, 2), "200| Cy|1|120");
}

TEST_F(HighScoreFileTest, AnEmptyRowReadsBackWithTheNameZero) {
    CHighScoreTable table(path.c_str(), FixedClock);
    table.ClearEntries();
    table.Insert(10, "Only", 1, 60);
    table.SaveToFile();
    CHighScoreTable reread(path.c_str(), FixedClock);
    reread.LoadFromFile();
    EXPECT_EQ(Row(reread, 0), "10|Only|1|60");
    EXPECT_EQ(Row(reread, 1), "0|0|0|0");
}

TEST_F(HighScoreFileTest, AScoreAloneStoresNothingButUsesItsRow) {
    // No row of the first line is stored, so the built-in list is not cleared either.
    CHighScoreTable table = Load("999\n"
                                 "888\tBea\t1\t0\n"
                                 "777\n"
                                 "666\tCal\t2\t0\n");
    EXPECT_EQ(Row(table, 0), "7010|Curiously Delivered|0|0");
    EXPECT_EQ(Row(table, 1), "888|Bea|1|0");
    EXPECT_EQ(Row(table, 2), "1520|Fenwright|0|1278814757");
    EXPECT_EQ(Row(table, 3), "666|Cal|2|0");
    EXPECT_EQ(Row(table, 4), "340|Oob|0|0");
    EXPECT_EQ(Row(table, 9), "20|Nobody|0|0");
}

TEST_F(HighScoreFileTest, CommentsBlanksAndIndentsUseNoRow) {
    CHighScoreTable table = Load("# High scores\n"
                                 "\n"
                                 "   \t \r\n"
                                 "  \t# indented comment\n"
                                 "  \t 900\tAnn\t2\t10\n"
                                 "#900\tNot\t2\t10\n"
                                 "800\t#Bo\t1\t20\n");
    EXPECT_EQ(Row(table, 0), "900|Ann|2|600");
    EXPECT_EQ(Row(table, 1), "800|#Bo|1|1200");
    EXPECT_EQ(Row(table, 2), "0||0|0");
}

TEST_F(HighScoreFileTest, AtMostTenDataLines) {
    std::string text;
    for (int i = 0; i < 12; ++i) {
        text += std::to_string(100 - i) + "\tP" + std::to_string(i) + "\t1\t0\n";
    }
    CHighScoreTable table = Load(text);
    EXPECT_EQ(Row(table, 9), "91|P9|1|0");
}

TEST_F(HighScoreFileTest, OddValuesReadAsTheCLibraryWould) {
    const std::string longName(40, 'n');
    CHighScoreTable table = Load("abc\tNoScore\tx\ty\n"
                                 "+12junk\t" +
                                 longName +
                                 "\t70000\t-1\n"
                                 "99999999999\tBig\t-32769\t4294967295\n");
    EXPECT_EQ(Row(table, 0), "0|NoScore|0|0");
    EXPECT_EQ(Row(table, 1), "12|" + longName.substr(0, 31) + "|4464|257698037700");
    EXPECT_EQ(Row(table, 2), "2147483647|Big|32767|257698037700");
}

TEST_F(HighScoreFileTest, DamagedBytes) {
    CHighScoreTable table = Load(std::string("500\tA\0ce\t3\t1\n", 13) + "\xff\xfe"
                                                                         "12\t\x80\x01\tq\n"
                                                                         "\x1a"
                                                                         "7\tZ\t1\t1\n");
    EXPECT_EQ(Row(table, 0), "500|A|0|0") << "a NUL ends the line's text";
    EXPECT_EQ(Row(table, 1), "0|\x80\x01|0|0");
    EXPECT_EQ(Row(table, 2), "0|Z|1|60");
}

TEST_F(HighScoreFileTest, LongLinesAreReadIn510CharacterPieces) {
    // A comment of 510 characters and its line feed: the feed is a blank piece.
    // One of 511: the piece after it, "x", is a data line of a single field.
    const std::string fits = "#" + std::string(509, 'x') + "\n";
    const std::string spills = "#" + std::string(510, 'x') + "\n";
    EXPECT_EQ(Row(Load(fits + "5\tFive\t0\t0\n"), 0), "5|Five|0|0");
    CHighScoreTable spilled = Load(spills + "5\tFive\t0\t0\n");
    EXPECT_EQ(Row(spilled, 0), "7010|Curiously Delivered|0|0");
    EXPECT_EQ(Row(spilled, 1), "5|Five|0|0");
}

TEST_F(HighScoreFileTest, AHugeLine) {
    CHighScoreTable table = Load("9999\t" + std::string(1200, 'N') + "\r\n50\tNext\t1\t0\r\n");
    EXPECT_EQ(Row(table, 0), "9999|" + std::string(31, 'N') + "|0|0");
    EXPECT_EQ(Row(table, 1), "0||0|0") << "the pieces of the rest use up rows";
    EXPECT_EQ(Row(table, 2), "0||0|0");
    EXPECT_EQ(Row(table, 3), "50|Next|1|0");
}

std::string Garbage(size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245 + 12345;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

TEST_F(HighScoreFileTest, TenMegabytesOfGarbage) {
    CHighScoreTable table = Load(Garbage(10 << 20));
    for (int i = 0; i < kNumHighScores; ++i) {
        EXPECT_LT(std::strlen(table.Entry(i).name), kHighScoreNameSize) << "rank " << i + 1;
    }
    CHighScoreTable oneLine = Load(std::string(10 << 20, '7'));
    EXPECT_EQ(Row(oneLine, 0), "7010|Curiously Delivered|0|0") << "only single-field pieces";
    CHighScoreTable blank = Load(std::string(10 << 20, ' ') + "\n# x\n1\tOne\t1\t1\n");
    EXPECT_EQ(Row(blank, 0), "1|One|1|60");
}

TEST_F(HighScoreFileTest, AFailedRewriteKeepsTheOldFileAndTriesAgain) {
    WriteFile(path, kDefaultFile);
    CHighScoreTable table(path.c_str(), FixedClock);
    table.Insert(9000, "Ace", 3, 60);
    // The temporary file cannot be created where a folder of its name stands.
    std::filesystem::create_directory(path + ".new");
    table.SaveToFile();
    EXPECT_EQ(ReadFile(path), kDefaultFile);
    EXPECT_TRUE(table.IsDirty());

    std::filesystem::remove(path + ".new");
    table.SaveToFile();
    EXPECT_EQ(ReadFile(path).substr(0, 17), "9000\tAce\t3\t1\r\r\n70");
    EXPECT_FALSE(table.IsDirty());
}

TEST_F(HighScoreFileTest, AnUnwritableFolderKeepsTheTableChanged) {
    CHighScoreTable table(dir.Path("no such folder/High Scores.txt").c_str(), FixedClock);
    table.Insert(9000, "Ace", 3, 60);
    table.SaveToFile();
    EXPECT_TRUE(table.IsDirty());
}

} // namespace
