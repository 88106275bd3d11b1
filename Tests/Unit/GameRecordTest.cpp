// The game record: four text lines that replay a game exactly.
#include "GameRecord.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

namespace {

class GameRecordTest : public ::testing::Test {
protected:
    CTempDir dir;
    std::string path = dir.Path("record.txt");

    // The moves, time and score read back from `path`.
    std::string ReadBack(size_t movesSize = 4096) {
        std::string moves(movesSize, 'x');
        uint64_t time = 7;
        uint32_t score = 7;
        if (!ReadGameRecord(path.c_str(), moves.data(), movesSize, &time, &score)) {
            return "unreadable";
        }
        return std::string(moves.c_str()) + "|" + std::to_string(time) + "|" +
               std::to_string(score);
    }
};

TEST_F(GameRecordTest, WritesExactlyFourLines) {
    WriteGameRecord(path.c_str(), 1278814757, 350,
                    "Microsoft Windows XP Professional Service Pack 3 (Build 2600)",
                    "474S9666T2222114");
    EXPECT_EQ(ReadFile(path), "Time:\t1278814757\r\nScore:\t350\r\nPlatform:\tMicrosoft Windows "
                              "XP Professional Service Pack 3 (Build 2600)\r\nMoves:\t"
                              "474S9666T2222114\r\n");
    // An empty platform reads "Windows", a long one is cut to 127 characters.
    EXPECT_EQ(FormatGameRecord(0x1FFFFFFFF, 4294967295u, "", ""),
              "Time:\t4294967295\r\nScore:\t4294967295\r\nPlatform:\tWindows\r\nMoves:\t\r\n");
    const std::string record = FormatGameRecord(1, 2, std::string(300, 'p').c_str(), "5");
    EXPECT_NE(record.find("\t" + std::string(127, 'p') + "\r\n"), std::string::npos);
}

TEST_F(GameRecordTest, ReadsWhatTheLinesSay) {
    const std::string longMoves = std::string(100, '4') + std::string(50, '6');
    // A file and what is read from it: moves|time|score.
    const std::pair<std::string, std::string> cases[] = {
        // Every line ending, and the lines in any order.
        {"Moves:\t474S\r\r\nScore:\t60\nPlatform:\tx\r\nTime:\t1294692844\r\n",
         "474S|1294692844|60"},
        // A moves line longer than a piece of 31 characters is read on to its end.
        {"Time:\t5\r\nMoves:\t" + longMoves + "\r\nScore:\t3\r\n", longMoves + "|5|3"},
        {"Moves:\t\r\n123\r\nTime:\t8\r\n", "123|8|0"},
        {"Time:\t8\r\nMoves:\t\r\n", "|8|0"},
        {"Moves:\t12\r\nMoves:\t34\r\n", "1234|0|0"},
        {"time:\t8\r\nScore:\t-5\r\nMoves:\t5\r\n", "5|0|0"},
        {"Time:\t99999999999\r\nTime:\t0\r\n", "|4294967295|0"},
        {std::string("Time:\t8\0garbage\xff\r\nMoves:\t5\r\n", 29), "5|8|0"},
        // Lines are read in pieces of 31 characters: a keyword split between two is missed, and
        // a number is looked for where it would follow a keyword at the start of its piece.
        {std::string(28, 'p') + "Moves:\t5\r\n" + std::string(31, 'p') + "Time:\t7\r\n", "|7|0"},
    };
    for (const auto& [file, read] : cases) {
        WriteFile(path, file);
        EXPECT_EQ(ReadBack(), read) << testing::PrintToString(file);
    }
    WriteFile(path, cases[1].first);
    EXPECT_EQ(ReadBack(11), std::string(10, '4') + "|5|3") << "moves cut to the buffer";
}

TEST_F(GameRecordTest, LoadingNeedsAFileOfAtLeastTwoBytes) {
    uint64_t time = 1;
    uint32_t score = 1;
    EXPECT_EQ(LoadGameRecordFile(path.c_str(), &time, &score), nullptr) << "missing";
    EXPECT_EQ(time + score, 0u);
    for (const char* content : {"", "5"}) {
        WriteFile(path, content);
        EXPECT_EQ(LoadGameRecordFile(path.c_str(), nullptr, nullptr), nullptr) << content;
    }
    EXPECT_EQ(LoadGameRecordFile(dir.Path("").c_str(), nullptr, nullptr), nullptr) << "a folder";
    WriteFile(path, "Time:\t42\r\nMoves:\t474\r\n");
    char* moves = LoadGameRecordFile(path.c_str(), &time, nullptr);
    ASSERT_NE(moves, nullptr);
    EXPECT_STREQ(moves, "474");
    EXPECT_EQ(time, 42u);
    std::free(moves);
}

// A replace cut short after the old file went (as on Windows 95) leaves the new one under its
// temporary name: loading takes it only when it is whole, and never over the file itself.
TEST_F(GameRecordTest, AMissingRecordIsTakenFromItsTemporaryFileOnlyWhenThatIsWhole) {
    const std::string whole = FormatGameRecord(42, 5, "x", "474S");
    const std::string tempPath = path + ".new";
    // The file, if any; its temporary file; the moves loaded.
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {nullptr, whole, "474S"},
        {nullptr, whole.substr(0, whole.size() - 1), nullptr},
        {nullptr, whole.substr(0, whole.find("Moves:")), nullptr},
        {"Moves:\t6\r\n", whole, "6"},
    };
    for (const auto& [file, temp, loaded] : cases) {
        std::filesystem::remove(path);
        if (file) {
            WriteFile(path, file);
        }
        WriteFile(tempPath, temp);
        char* moves = LoadGameRecordFile(path.c_str(), nullptr, nullptr);
        EXPECT_STREQ(moves ? moves : nullptr, loaded) << testing::PrintToString(temp);
        std::free(moves);
        const bool takenIn = !file && loaded;
        EXPECT_EQ(std::filesystem::exists(tempPath), !takenIn) << testing::PrintToString(temp);
        EXPECT_EQ(std::filesystem::exists(path), file || loaded) << testing::PrintToString(temp);
    }
}

} // namespace
