// Where the program keeps its files: one data folder per user, "Clankmere" inside the
// platform's per-user application data folder, with a few subfolders.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

extern const char* const kDataFolderName;
// Paths are held in UTF-8, in buffers with room for the longest path the system's wide calls
// return: 259 UTF-16 units of at most three bytes each (a character that takes two units takes
// four bytes), and the terminator.
constexpr size_t kMaxPathUnits = 259;
constexpr size_t kMaxPathSize = 3 * kMaxPathUnits + 1;

// What the data folder needs from the platform.
class CDataFolderPlatform {
public:
    virtual ~CDataFolderPlatform() = default;
    // The per-user application data folder; left empty when the platform has none.
    virtual void GetBaseFolder(char (&base)[kMaxPathSize]) = 0;
    // Whether the system's file calls take a path this long, and the temporary file that is
    // written beside it (SafeFile.h).
    virtual bool FitsFileCalls(const std::string& path) = 0;
    // Creates `folder` and every missing parent; true when the folder exists afterwards.
    virtual bool CreateFolder(const char* folder) = 0;
};

// The path of `fileName` in the data folder, or in its `subfolder` (none when null, empty or
// "."), after creating that folder. Without a file name: the folder's own path, and nothing
// is created. When the folder cannot be created, or the whole path is too long for `out` or
// for the system's file calls: the bare file name, in the current directory. Returns `out`.
char* BuildDataPath(CDataFolderPlatform& platform, char (&out)[kMaxPathSize], const char* subfolder,
                    const char* fileName);

// For systems that create one directory at a time: the directories that make up `path`, each
// given by its full path, parents first. A drive ("C:", "C:\") or a network share
// ("\\server\share") is never among them.
std::vector<std::string> DirectoriesToCreate(const char* path);

// A file chosen for saving keeps its name, with its extension in lower case: every upper-case
// letter after the last "." ("C:\Temp\MY.GAME.TXT" becomes "C:\Temp\MY.GAME.txt").
void LowerCaseExtension(char* path);
