// Paths in the data folder and the one-directory-at-a-time creation order.
#include "DataPath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Dirs = std::vector<std::string>;

struct CFakeFolders : CDataFolderPlatform {
    std::string base;
    bool createSucceeds = true;
    Dirs created;

    void GetBaseFolder(char (&out)[kMaxPathSize]) override {
        std::snprintf(out, sizeof out, "%s", base.c_str());
    }
    // As the system's ANSI file calls do.
    bool FitsFileCalls(const std::string& path) override { return path.size() <= 259; }
    bool CreateFolder(const char* folder) override {
        created.push_back(folder);
        return createSucceeds;
    }
};

TEST(DataPath, FilesLiveInTheCreatedDataFolder) {
    const std::string home = "C:\\Users\\Ann\\AppData\\Roaming";
    const std::string data = home + "\\Clankmere";
    // A path too long for the file calls or for the buffer gives the bare name; a folder alone
    // is cut to fit.
    const std::string deep = "C:\\" + std::string(240, 'd'), deepData = deep + "\\Clankmere";
    const std::string fits(259 - deepData.size() - 1, 'f'), tooLong = fits + "g";
    const std::string huge(kMaxPathSize, 'b');
    // Base folder, whether folders can be created, subfolder, file name, path, folders created.
    const std::tuple<std::string, bool, const char*, const char*, std::string, Dirs> cases[] = {
        {home, true, nullptr, "a.txt", data + "\\a.txt", {data}},
        {home, true, "Games", "a.txt", data + "\\Games\\a.txt", {data + "\\Games"}},
        {home, true, "", "a.txt", data + "\\a.txt", {data}},
        {home, true, ".", "a.txt", data + "\\a.txt", {data}},
        // Without a file name only the folder, and nothing is created.
        {home, true, "Games", nullptr, data + "\\Games", {}},
        {home, true, nullptr, "", data, {}},
        // Without a base the folder is relative; one that cannot be created gives the bare name.
        {"", true, "Games", "a.txt", "Clankmere\\Games\\a.txt", {"Clankmere\\Games"}},
        {home, false, "Games", "a.txt", "a.txt", {data + "\\Games"}},
        {deep, true, nullptr, fits.c_str(), deepData + "\\" + fits, {deepData}},
        {deep, true, nullptr, tooLong.c_str(), tooLong, {}},
        {std::string(400, 'b'), true, nullptr, "Last Game.txt", "Last Game.txt", {}},
        {huge, true, nullptr, nullptr, huge.substr(1), {}},
    };
    for (const auto& [base, createSucceeds, subfolder, fileName, path, created] : cases) {
        CFakeFolders platform;
        platform.base = base;
        platform.createSucceeds = createSucceeds;
        char out[kMaxPathSize]; // full of garbage, which must be zero after the path
        std::fill(std::begin(out), std::end(out), 'x');
        EXPECT_EQ(BuildDataPath(platform, out, subfolder, fileName), out);
        EXPECT_EQ(std::string(out, sizeof out), path + std::string(sizeof out - path.size(), '\0'));
        EXPECT_EQ(platform.created, created) << path;
    }
}

TEST(DataPath, DirectoriesToCreateParentsFirstWithoutDrivesOrShares) {
    for (const char* root : {"", "C:", "C:\\", "\\", "\\\\server", "\\\\server\\",
                             "\\\\server\\share", "\\\\server\\share\\"}) {
        EXPECT_EQ(DirectoriesToCreate(root), Dirs{}) << root;
    }
    EXPECT_EQ(DirectoriesToCreate("A\\B"), (Dirs{"A", "A\\B"}));
    EXPECT_EQ(DirectoriesToCreate("C:\\A\\B"), (Dirs{"C:\\A", "C:\\A\\B"}));
    EXPECT_EQ(DirectoriesToCreate("c:A\\B\\"), (Dirs{"c:A", "c:A\\B"}));
    EXPECT_EQ(DirectoriesToCreate("\\\\server\\share\\A\\B"),
              (Dirs{"\\\\server\\share\\A", "\\\\server\\share\\A\\B"}));
    EXPECT_EQ(DirectoriesToCreate("\\A\\\\B"), (Dirs{"\\A", "\\A\\\\B"}));
    EXPECT_EQ(DirectoriesToCreate("C:/A/B"), (Dirs{"C:/A", "C:/A/B"}));
}

} // namespace
