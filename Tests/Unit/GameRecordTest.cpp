// The game record: four text lines that replay a game exactly.
#include "GameRecord.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

namespace {

class GameRecordTest : public ::testing::Test {
protected:
    CTempDir dir;
    std::string path = dir.Path("record.txt");

    struct Read {
        bool ok;
        std::string moves;
        uint64_t time;
        uint32_t score;
    };
    Read ReadBack(size_t movesSize = 4096) {
        std::string moves(movesSize, 'x');
        Read r{false, "", 7, 7};
        r.ok = ReadGameRecord(path.c_str(), moves.data(), movesSize, &r.time, &r.score);
        r.moves = moves.c_str();
        return r;
    }
};

TEST_F(GameRecordTest, WritesExactlyFourLines) {
    WriteGameRecord(path.c_str(), 1278814757, 350,
                    "Microsoft Windows XP Professional Service Pack 3 (Build 2600)",
                    "474S9666T2222114");
    EXPECT_EQ(ReadFile(path), "Time:\t1278814757\r\nScore:\t350\r\nPlatform:\tMicrosoft Windows "
                              "XP Professional Service Pack 3 (Build 2600)\r\nMoves:\t"
                              "474S9666T2222114\r\n");
}

TEST_F(GameRecordTest, EmptyPlatformReadsWindowsAndLongOnesAreCut) {
    EXPECT_EQ(FormatGameRecord(0x1FFFFFFFF, 4294967295u, "", ""),
              "Time:\t4294967295\r\nScore:\t4294967295\r\nPlatform:\tWindows\r\nMoves:\t\r\n");
    const std::string record = FormatGameRecord(1, 2, std::string(300, 'p').c_str(), "5");
    EXPECT_NE(record.find("\t" + std::string(127, 'p') + "\r\n"), std::string::npos);
}

TEST_F(GameRecordTest, RoundTripAndLineEndings) {
    for (const char* eol : {"\r\n", "\n", "\r\r\n"}) {
        WriteFile(path, std::string("Time:\t1294692844") + eol + "Score:\t60" + eol +
                            "Platform:\tx" + eol + "Moves:\t474S9666T2222114" + eol);
        Read r = ReadBack();
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.time, 1294692844u);
        EXPECT_EQ(r.score, 60u);
        // A lone carriage return stays in a text-mode read, but replays skip it.
        EXPECT_EQ(r.moves.substr(0, 16), "474S9666T2222114") << "line end " << eol[0] + 0;
    }
}

TEST_F(GameRecordTest, LinesInAnyOrder) {
    WriteFile(path, "Moves:\t55\r\nScore:\t10\r\nTime:\t99\r\n");
    Read r = ReadBack();
    EXPECT_EQ(r.moves, "55");
    EXPECT_EQ(r.time, 99u);
    EXPECT_EQ(r.score, 10u);
}

TEST_F(GameRecordTest, LongMovesLinesAreReadWholeAndCutToTheBuffer) {
    const std::string moves = std::string(100, '4') + std::string(50, '6');
    WriteFile(path, "Time:\t5\r\nMoves:\t" + moves + "\r\nScore:\t3\r\n");
    Read r = ReadBack();
    EXPECT_EQ(r.moves, moves);
    EXPECT_EQ(r.score, 3u) << "the line after a long moves line is still read";
    EXPECT_EQ(ReadBack(11).moves, std::string(10, '4'));
}

TEST_F(GameRecordTest, EmptyMovesLineTakesTheNextLine) {
    WriteFile(path, "Moves:\t\r\n123\r\nTime:\t8\r\n");
    EXPECT_EQ(ReadBack().moves, "123");
    WriteFile(path, "Time:\t8\r\nMoves:\t\r\n");
    EXPECT_EQ(ReadBack().moves, "");
}

TEST_F(GameRecordTest, SecondMovesLineIsAppended) {
    WriteFile(path, "Moves:\t12\r\nMoves:\t34\r\n");
    EXPECT_EQ(ReadBack().moves, "1234");
}

TEST_F(GameRecordTest, OddValues) {
    WriteFile(path, "time:\t8\r\nScore:\t-5\r\nMoves:\t5\r\n");
    Read r = ReadBack();
    EXPECT_EQ(r.time, 0u) << "keywords are case-sensitive";
    EXPECT_EQ(r.score, 0u) << "a negative score is ignored";
    WriteFile(path, "Time:\t8\r\nTime:\t0\r\nTime:\t99999999999\r\n");
    EXPECT_EQ(ReadBack().time, 4294967295u) << "zero does not replace; overflow saturates";
    WriteFile(path, std::string("Time:\t8\0garbage\xff\r\nMoves:\t5\r\n", 29));
    r = ReadBack();
    EXPECT_EQ(r.time, 8u);
    EXPECT_EQ(r.moves, "5");
}

TEST_F(GameRecordTest, LoadingNeedsAtLeastTwoBytes) {
    uint64_t time = 1;
    uint32_t score = 1;
    EXPECT_EQ(LoadGameRecordFile(path.c_str(), &time, &score), nullptr) << "missing";
    EXPECT_EQ(time, 0u);
    EXPECT_EQ(score, 0u);
    for (const char* content : {"", "5"}) {
        WriteFile(path, content);
        EXPECT_EQ(LoadGameRecordFile(path.c_str(), nullptr, nullptr), nullptr);
    }
    EXPECT_EQ(LoadGameRecordFile(dir.Path("").c_str(), nullptr, nullptr), nullptr) << "a folder";
    WriteFile(path, "Time:\t42\r\nMoves:\t474\r\n");
    char* moves = LoadGameRecordFile(path.c_str(), &time, nullptr);
    ASSERT_NE(moves, nullptr);
    EXPECT_STREQ(moves, "474");
    EXPECT_EQ(time, 42u);
    std::free(moves);
}

TEST_F(GameRecordTest, AFailedRewriteKeepsTheOldRecord) {
    WriteGameRecord(path.c_str(), 1, 2, "p", "55");
    const std::string before = ReadFile(path);
    // The temporary file cannot be created where a folder of its name stands.
    ASSERT_EQ(mkdir((path + ".new").c_str(), 0700), 0);
    WriteGameRecord(path.c_str(), 3, 4, "p", "66");
    EXPECT_EQ(ReadFile(path), before);
}

} // namespace
