// Paths in the data folder, the one-directory-at-a-time creation order, and the extension rule
// of saved games.
#include "DataPath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kAppData[] = "C:\\Users\\Ann\\AppData\\Roaming";

class CFakeFolders : public CDataFolderPlatform {
public:
    std::string base = kAppData;
    bool createSucceeds = true;
    std::vector<std::string> created;

    void GetBaseFolder(char (&out)[kMaxPathSize]) override {
        std::snprintf(out, sizeof out, "%s", base.c_str());
    }
    bool CreateFolder(const char* folder) override {
        created.push_back(folder);
        return createSucceeds;
    }
};

class DataPathTest : public ::testing::Test {
protected:
    CFakeFolders platform;
    char out[kMaxPathSize];

    std::string Build(const char* subfolder, const char* fileName) {
        std::fill(std::begin(out), std::end(out), 'x');
        EXPECT_EQ(BuildDataPath(platform, out, subfolder, fileName), out);
        const std::string path = out;
        for (size_t i = path.size(); i < sizeof out; ++i) {
            EXPECT_EQ(out[i], '\0') << "byte " << i << " after " << path;
        }
        return path;
    }
};

TEST_F(DataPathTest, FilesLiveInTheCreatedDataFolder) {
    EXPECT_EQ(Build(nullptr, "High Scores.txt"),
              "C:\\Users\\Ann\\AppData\\Roaming\\Clankmere\\High Scores.txt");
    EXPECT_EQ(platform.created,
              (std::vector<std::string>{"C:\\Users\\Ann\\AppData\\Roaming\\Clankmere"}));
}

TEST_F(DataPathTest, SubfoldersAreCreatedWhenGiven) {
    EXPECT_EQ(Build("High Score Games", "hs5.txt"),
              "C:\\Users\\Ann\\AppData\\Roaming\\Clankmere\\High Score Games\\hs5.txt");
    EXPECT_EQ(platform.created.at(0),
              "C:\\Users\\Ann\\AppData\\Roaming\\Clankmere\\High Score Games");
    for (const char* none : {"", "."}) {
        EXPECT_EQ(Build(none, "Last Game.txt"),
                  "C:\\Users\\Ann\\AppData\\Roaming\\Clankmere\\Last Game.txt")
            << "subfolder \"" << none << "\"";
    }
}

TEST_F(DataPathTest, WithoutAFileNameOnlyTheFolderAndNothingCreated) {
    EXPECT_EQ(Build("Saved Games", nullptr),
              "C:\\Users\\Ann\\AppData\\Roaming\\Clankmere\\Saved Games");
    EXPECT_EQ(Build(nullptr, ""), "C:\\Users\\Ann\\AppData\\Roaming\\Clankmere");
    EXPECT_TRUE(platform.created.empty());
}

TEST_F(DataPathTest, WithoutABaseTheFolderIsRelative) {
    platform.base = "";
    EXPECT_EQ(Build("Saved Games", "My Saved Game.txt"),
              "Clankmere\\Saved Games\\My Saved Game.txt");
    EXPECT_EQ(platform.created, (std::vector<std::string>{"Clankmere\\Saved Games"}));
}

TEST_F(DataPathTest, AFolderThatCannotBeCreatedGivesTheBareName) {
    platform.createSucceeds = false;
    EXPECT_EQ(Build("Saved Games", "My Saved Game.txt"), "My Saved Game.txt");
    EXPECT_EQ(platform.created.size(), 1u);
}

TEST_F(DataPathTest, APathThatWouldBeCutGivesTheBareNameAndCreatesNothing) {
    // 259 characters is the most a path may have.
    const std::string folder = "C:\\" + std::string(240, 'd');
    const std::string prefix = folder + "\\Clankmere\\";
    platform.base = folder;
    const std::string fits(259 - prefix.size(), 'f');
    EXPECT_EQ(Build(nullptr, fits.c_str()), prefix + fits);
    EXPECT_EQ(Build(nullptr, (fits + "g").c_str()), fits + "g");
    EXPECT_EQ(platform.created.size(), 1u);
}

TEST_F(DataPathTest, AnOverlongBaseCannotOverrunTheBuffers) {
    platform.base = std::string(400, 'b');
    EXPECT_EQ(Build(nullptr, "Last Game.txt"), "Last Game.txt");
    EXPECT_EQ(Build(nullptr, nullptr), std::string(259, 'b'));
}

TEST(DirectoriesToCreate, ParentsFirstWithoutDrivesOrShares) {
    using Dirs = std::vector<std::string>;
    EXPECT_EQ(DirectoriesToCreate("Clankmere\\High Score Games"),
              (Dirs{"Clankmere", "Clankmere\\High Score Games"}));
    EXPECT_EQ(DirectoriesToCreate("C:\\Games\\Clankmere"),
              (Dirs{"C:\\Games", "C:\\Games\\Clankmere"}));
    EXPECT_EQ(DirectoriesToCreate("c:Games\\Clankmere\\"), (Dirs{"c:Games", "c:Games\\Clankmere"}));
    EXPECT_EQ(DirectoriesToCreate("\\\\server\\share\\Games\\Clankmere"),
              (Dirs{"\\\\server\\share\\Games", "\\\\server\\share\\Games\\Clankmere"}));
    EXPECT_EQ(DirectoriesToCreate("\\Games\\\\Clankmere"),
              (Dirs{"\\Games", "\\Games\\\\Clankmere"}));
    EXPECT_EQ(DirectoriesToCreate("C:/Games/Clankmere"), (Dirs{"C:/Games", "C:/Games/Clankmere"}));
}

TEST(DirectoriesToCreate, NothingForARoot) {
    for (const char* root : {"", "C:", "C:\\", "\\", "\\\\server", "\\\\server\\",
                             "\\\\server\\share", "\\\\server\\share\\"}) {
        EXPECT_TRUE(DirectoriesToCreate(root).empty()) << root;
    }
}

std::string LowerCased(const char* path) {
    std::string text = path;
    LowerCaseExtension(text.data());
    return text;
}

TEST(LowerCaseExtension, OnlyAfterTheLastDot) {
    EXPECT_EQ(LowerCased("GAME.TXT"), "GAME.txt");
    EXPECT_EQ(LowerCased("C:\\Temp\\MY.GAME.TXT"), "C:\\Temp\\MY.GAME.txt");
    EXPECT_EQ(LowerCased("C:\\Temp\\Game.TxT1"), "C:\\Temp\\Game.txt1");
    EXPECT_EQ(LowerCased("C:\\TEMP\\GAME"), "C:\\TEMP\\GAME");
    EXPECT_EQ(LowerCased("C:\\TEMP\\GAME."), "C:\\TEMP\\GAME.");
    EXPECT_EQ(LowerCased("A.\xC4\xD6Z"), "A.\xC4\xD6z") << "letters outside ASCII stay";
}

} // namespace
