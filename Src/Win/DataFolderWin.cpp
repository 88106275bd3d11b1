#include "DataFolderWin.h"

#include "SafeFile.h"
#include "WinPath.h"

#include <windows.h>

#ifndef CLANKMERE_9X
#include <shlobj.h>
#endif

namespace {

constexpr DWORD kAlreadyExists = ERROR_ALREADY_EXISTS;

// A file of the folder's name must not pass for the folder.
bool IsDirectory(const char* path) {
    const DWORD attributes = GetPathAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

#ifdef CLANKMERE_9X

// Those systems may lack the shell's folder functions: the data folder lives beside wherever
// the program was started, and it is created one directory at a time.
class CDataFolder final : public CDataFolderPlatform {
public:
    void GetBaseFolder(char (&base)[kMaxPathSize]) override { base[0] = '\0'; }

    bool FitsFileCalls(const std::string& path) override {
        return path.size() + kTempFileSuffixLength < MAX_PATH;
    }

    bool CreateFolder(const char* folder) override {
        for (const std::string& directory : DirectoriesToCreate(folder)) {
            if (!CreateDirectoryA(directory.c_str(), nullptr) && GetLastError() != kAlreadyExists) {
                return false;
            }
        }
        return IsDirectory(folder);
    }
};

#else

constexpr int kAppDataCreated = CSIDL_APPDATA | CSIDL_FLAG_CREATE;

class CDataFolder final : public CDataFolderPlatform {
public:
    // A folder whose UTF-8 path does not fit counts as none.
    void GetBaseFolder(char (&base)[kMaxPathSize]) override {
        wchar_t wide[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, kAppDataCreated, nullptr, SHGFP_TYPE_CURRENT, wide)) ||
            !NarrowPath(wide, base, sizeof base)) {
            base[0] = '\0';
        }
    }

    bool FitsFileCalls(const std::string& path) override {
        const std::wstring wide = WidePath(path.c_str());
        return !wide.empty() && wide.size() + kTempFileSuffixLength <= kMaxPathUnits;
    }

    // The shell takes full paths only: a relative folder is never created, and the bare file
    // name is used instead.
    bool CreateFolder(const char* folder) override {
        const int result = SHCreateDirectoryExW(nullptr, WidePath(folder).c_str(), nullptr);
        return (result == ERROR_SUCCESS || result == static_cast<int>(kAlreadyExists)) &&
               IsDirectory(folder);
    }
};

#endif

} // namespace

char* BuildDataPath(char (&out)[kMaxPathSize], const char* subfolder, const char* fileName) {
    CDataFolder platform;
    return BuildDataPath(platform, out, subfolder, fileName);
}
