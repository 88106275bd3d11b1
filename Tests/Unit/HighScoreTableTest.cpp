// The high-score table: the ranking of new scores; "High Scores.txt" as written, read back
// from hand-edited files and rewritten safely; the texts the list window draws for a row; and
// the record in "High Score Games" that a row lists.
#include "HighScoreTable.h"
#include "HighScoreText.h"
#include "ListedGames.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int64_t kNow = 1700000000;

const auto FixedClock = [] { return kNow; };

// The first `count` rows as "score|name|level|date".
std::vector<std::string> Rows(const CHighScoreTable& table, int count = kNumHighScores) {
    std::vector<std::string> rows;
    for (int i = 0; i < count; ++i) {
        const HighScoreEntry& row = table.Entry(i);
        rows.push_back(std::to_string(row.score) + "|" + row.name + "|" +
                       std::to_string(row.level) + "|" + std::to_string(row.date));
    }
    return rows;
}

class HighScoreTest : public ::testing::Test {
protected:
    CTempDir dir;
    const std::string path = dir.Path("High Scores.txt");
    CHighScoreTable table{path.c_str(), FixedClock};
    const std::vector<std::string> defaults = Rows(table);

    // A fresh table that has read `bytes` from its file.
    CHighScoreTable Load(const std::string& bytes) {
        WriteFile(path, bytes);
        CHighScoreTable loaded(path.c_str(), FixedClock);
        loaded.LoadFromFile();
        return loaded;
    }
};

TEST_F(HighScoreTest, NewRowsRankBelowEqualScoresPushTheLastOffAndKeepTheirNamesClean) {
    EXPECT_EQ(table.Insert(20, "Tenth", 1, 5), 0);
    EXPECT_FALSE(table.IsDirty()) << "a score that does not enter changes nothing";
    EXPECT_EQ(table.Insert(7010, "Tie", 1, 5), 2);
    EXPECT_EQ(table.Insert(9000, "Ace", 12, 5), 1);
    EXPECT_TRUE(table.IsDirty());
    EXPECT_EQ(table.Insert(131, "Last", 1, 5), 10);
    EXPECT_EQ(Rows(table),
              (std::vector<std::string>{
                  "9000|Ace|12|5", "7010|Curiously Delivered|0|0", "7010|Tie|1|5",
                  "2010|Orvin|0|449778896", "1520|Fenwright|0|1278814757", "380|Baron Grimholt|0|0",
                  "340|Oob|0|0", "310|Orvin|0|0", "190|Marlo|0|0", "131|Last|1|5"}));
    // Qualifying compares signed scores, as inserting does.
    for (int32_t score : {-1, 0, 1, 131, 132, INT32_MAX}) {
        EXPECT_EQ(table.QualifiesForTable(score), score > 131) << score;
    }
    table.ClearEntries();
    EXPECT_FALSE(table.QualifiesForTable(-5));
    EXPECT_EQ(table.Insert(-5, "Below", 1, 5), 0);
    EXPECT_TRUE(table.QualifiesForTable(1));
    // Names are never empty, at most 31 characters and without separators; date 0 is now.
    table.Insert(9000, "", 1, 0);
    table.Insert(9000, nullptr, 1, 5);
    table.Insert(9000, std::string(40, 'n').c_str(), 1, 5);
    // A TAB, CR or LF would split the row when the file is read back.
    table.Insert(9000, "A\tB\rC\nD", 1, 5);
    EXPECT_EQ(Rows(table, 4), (std::vector<std::string>{
                                  "9000|Nobody|1|" + std::to_string(kNow), "9000|Nobody|1|5",
                                  "9000|" + std::string(31, 'n') + "|1|5", "9000|A B C D|1|5"}));
}

TEST_F(HighScoreTest, WritesTenLinesEndingInCrCrLfOnlyWhenChanged) {
    table.LoadFromFile();
    EXPECT_EQ(Rows(table), defaults) << "a missing file keeps the rows";
    table.Insert(9000, "Ace", 1, 5);
    table.ResetToDefaults();
    table.SaveToFile();
    EXPECT_FALSE(std::filesystem::exists(path));
    table.ClearToDefaults();
    table.SaveToFile();
    const std::string written = ReadFile(path);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 10);
    EXPECT_FALSE(table.IsDirty());
}

TEST_F(HighScoreTest, TheReaderTakesWhatItCanFromAnyFile) {
    const std::string name40(40, 'n');
    // A file and the first rows read from it.
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        // Every line ending reads alike, the last line needs none.
        {"900\tAnn\t2\t10\n800\tBo\t1\t20\r\n700\tCy\t3\t30\r\r\n600\tDi\t4\t40",
         {"900|Ann|2|600", "800|Bo|1|1200", "700|Cy|3|1800", "600|Di|4|2400", "0||0|0"}},
        // A score alone stores nothing, not even the clearing of the list, but uses its row.
        {"999\n888\tBea\t1\t0\n777\n666\tCal\t2\t0\n",
         {"7010|Curiously Delivered|0|0", "888|Bea|1|0", "1520|Fenwright|0|1278814757",
          "666|Cal|2|0", "340|Oob|0|0"}},
        // Comments, blank lines and indents use no row.
        {"# High scores\n\n   \t \r\n  \t# indented\n  \t 900\tAnn\t2\t10\n#900\tNot\t2\t10\n"
         "800\t#Bo\t1\t20\n",
         {"900|Ann|2|600", "800|#Bo|1|1200", "0||0|0"}},
        // Numbers read as the C library reads them: saturated, or wrapped to 16 bits.
        {"abc\tNoScore\tx\ty\n+12junk\t" + name40 + "\t70000\t-1\n" +
             "99999999999\tBig\t-32769\t4294967295\n",
         {"0|NoScore|0|0", "12|" + name40.substr(0, 31) + "|4464|257698037700",
          "2147483647|Big|32767|257698037700"}},
        // Lines are read in pieces of 510 characters: a comment of 510 and its line feed make a
        // blank piece; one of 511 leaves "x" behind, a data line of a single field.
        {"#" + std::string(509, 'x') + "\n5\tFive\t0\t0\n", {"5|Five|0|0"}},
        {"#" + std::string(510, 'x') + "\n5\tFive\t0\t0\n",
         {"7010|Curiously Delivered|0|0", "5|Five|0|0"}},
    };
    for (const auto& [file, firstRows] : cases) {
        EXPECT_EQ(Rows(Load(file), static_cast<int>(firstRows.size())), firstRows)
            << testing::PrintToString(file.substr(0, 80));
    }
}

TEST_F(HighScoreTest, AFailedRewriteKeepsTheOldFileAndTriesAgain) {
    WriteFile(path, "old");
    table.Insert(9000, "Ace", 3, 60);
    // The temporary file cannot be created where a folder of its name stands.
    std::filesystem::create_directory(path + ".new");
    table.SaveToFile();
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_TRUE(table.IsDirty());
    std::filesystem::remove(path + ".new");
    table.SaveToFile();
    EXPECT_EQ(ReadFile(path).substr(0, 17), "9000\tAce\t3\t1\r\r\n70");
    EXPECT_FALSE(table.IsDirty());
}

// A replace cut short after the old file went leaves the new one under its temporary name: the
// table takes it when its ten lines are whole, and leaves a cut one alone.
TEST_F(HighScoreTest, AMissingFileIsTakenFromItsTemporaryFileOnlyWhenThatIsWhole) {
    table.Insert(9000, "Ace", 3, 60);
    table.SaveToFile();
    const std::string whole = ReadFile(path);
    const std::vector<std::string> listed = Rows(Load(whole));
    // Whole; without its last line feed; nine whole lines.
    const size_t nineLines = whole.rfind("\r\r\n", whole.size() - 4) + 3;
    for (const size_t kept : {whole.size(), whole.size() - 1, nineLines}) {
        std::filesystem::remove(path);
        WriteFile(path + ".new", whole.substr(0, kept));
        CHighScoreTable loaded(path.c_str(), FixedClock);
        loaded.LoadFromFile();
        const bool taken = kept == whole.size();
        EXPECT_EQ(Rows(loaded), taken ? listed : defaults) << kept << " bytes";
        EXPECT_EQ(std::filesystem::exists(path), taken) << kept << " bytes";
    }
}

// The test's local time is UTC.
bool Utc(int64_t time, std::tm* local) {
    const time_t t = static_cast<time_t>(time);
    return gmtime_r(&t, local) != nullptr;
}

HighScoreRowText Format(int32_t score, const char* name, int16_t level, int64_t date, int64_t now,
                        LocalTimeConverter convert = Utc) {
    HighScoreEntry entry{score, date, level, {}};
    std::strncpy(entry.name, name, sizeof entry.name - 1);
    HighScoreRowText text;
    FormatHighScoreRow(entry, now, convert, &text);
    return text;
}

TEST(HighScoreText, TheDateTakesItsFormFromItsAge) {
    const int64_t jan2024 = 1704067200;   // 2024-01-01 00:00 UTC
    const int64_t friday = 1715301000;    // 2024-05-10 00:30 UTC
    const int64_t march2010 = 1267704000; // 2010-03-04 12:00 UTC
    const int64_t minute = 60, hour = 3600;
    // Date, now, text.
    const std::tuple<int64_t, int64_t, const char*> cases[] = {
        {0, jan2024, ""},
        {march2010, jan2024, "March 04, 2010"},
        {friday, friday + 43199, "Today, 12:30 AM"},
        {friday, friday + 43200, "Friday, 12:30 AM"},
        {friday, friday + 518399, "Friday, 12:30 AM"},
        {friday, friday + 518400, "May 10, 2024"},
        {friday, friday - 400 * 86400, "Today, 12:30 AM"},
        {friday + 11 * hour + 30 * minute, friday + 12 * hour, "Today, 12:00 PM"},
        {friday + 22 * hour + 37 * minute, friday + 24 * hour, "Today, 11:07 PM"},
    };
    for (auto [date, now, text] : cases) {
        EXPECT_STREQ(Format(100, "Ann", 0, date, now).date, text)
            << "date " << date << ", now " << now;
    }
}

TEST(HighScoreText, ScoreAndNameWithTheLevelWhenThereIsOneAndADateOnlyWhenItConverts) {
    EXPECT_STREQ(Format(7010, "Ace", 7, 0, 0).name, "Ace (7)");
    EXPECT_STREQ(Format(-40, "Ace", 0, 0, 0).score, "-40");
    EXPECT_STREQ(Format(-40, "Ace", 0, 0, 0).name, "Ace");
    EXPECT_STREQ(Format(0, "Ace", -2, 0, 0).name, "Ace");
    const auto noLocalTime = [](int64_t, std::tm*) { return false; };
    EXPECT_STREQ(Format(100, "Ann", 0, 257698037700, 0, noLocalTime).date, "");
}

// Records as the game leaves them, "hs<start>.txt" with the score; the row lists score 520,
// ended in minute 83 (at 4980 s, as "High Scores.txt" keeps it).
TEST(ListedGames, ARowsRecordIsTheLatestWithItsScoreStartedByItsDate) {
    const auto record = [](int start, int score) {
        return "Time:\t" + std::to_string(start) + "\r\nScore:\t" + std::to_string(score) +
               "\r\nPlatform:\tx\r\nMoves:\t7771\r\n";
    };
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;
        const char* expected; // the file found, "" for none
    } cases[] = {
        {"the row's own record", {{"hs4000.txt", record(4000, 520)}}, "hs4000.txt"},
        {"a game that ended in the minute it started",
         {{"hs5039.txt", record(5039, 520)}},
         "hs5039.txt"},
        {"several with the score: the latest before the date",
         {{"hs1000.txt", record(1000, 520)},
          {"hs4500.txt", record(4500, 520)},
          {"hs3000.txt", record(3000, 520)}},
         "hs4500.txt"},
        {"one started after the date is a later game's",
         {{"hs4000.txt", record(4000, 520)}, {"hs5040.txt", record(5040, 520)}},
         "hs4000.txt"},
        {"another score is another game",
         {{"hs4000.txt", record(4000, 520)}, {"hs4900.txt", record(4900, 510)}},
         "hs4000.txt"},
        {"none in the folder", {}, ""},
        {"only other scores", {{"hs4000.txt", record(4000, 52)}}, ""},
        {"damaged: no moves, no start time, empty, unreadable text",
         {{"hs4900.txt", "Time:\t4900\r\nScore:\t520\r\nMoves:\t\r\n"},
          {"hs4800.txt", "Score:\t520\r\nMoves:\t7771\r\n"},
          {"hs4700.txt", ""},
          {"hs4600.txt", "\x01\x02\x03"}},
         ""},
        {"a cut-off write's temporary file and other files are no records",
         {{"hs4900.txt.new", record(4900, 520)},
          {"hs4800.bak", record(4800, 520)},
          {"Last Game.txt", record(4700, 520)},
          {"hs4000.txt", record(4000, 520)}},
         "hs4000.txt"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        CTempDir dir;
        for (const auto& [name, bytes] : row.files) {
            WriteFile(dir.Path(name), bytes);
        }
        const HighScoreEntry listed = {520, 4980, 3, "Fenwright"};
        const std::string found = FindListedGameRecord(dir.Path(""), listed);
        EXPECT_EQ(found.empty() ? "" : std::filesystem::path(found).filename().string(),
                  row.expected);
    }
    CTempDir dir;
    WriteFile(dir.Path("hs4000.txt"), record(4000, 520));
    std::filesystem::create_directory(dir.Path("hs4500.txt"));
    EXPECT_EQ(FindListedGameRecord(dir.Path(""), {520, 4980, 3, "x"}), dir.Path("/hs4000.txt"))
        << "a folder of a record's name is no record";
    EXPECT_EQ(FindListedGameRecord(dir.Path(""), {520, 0, 0, "x"}), "") << "a row without a date";
    EXPECT_EQ(FindListedGameRecord(dir.Path("none"), {520, 4980, 3, "x"}), "") << "no folder";
}

} // namespace
