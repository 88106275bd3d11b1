#include "DataPath.h"
#include "SafeFile.h"
#include "WinPath.h"

#include <windows.h>

namespace {

// The directory entry of the file, which Windows 95 also gives; file names hold no wildcards.
template <typename FindData> bool SizeOfEntry(HANDLE search, const FindData& data, uint64_t* size) {
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return false;
    }
    *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

// The files of a search that FindFirstFile began: every entry but the folders.
template <typename FindData, typename FindNext>
std::vector<std::string> FilesOfSearch(HANDLE search, FindData& data, FindNext findNext,
                                       std::string (*nameOf)(const FindData&)) {
    std::vector<std::string> names;
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.push_back(nameOf(data));
        }
    } while (findNext(search, &data));
    FindClose(search);
    return names;
}

} // namespace

std::string JoinFolderPath(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}

#ifdef CLANKMERE_9X

std::FILE* OpenNamedFile(const char* path, const char* mode) {
    return std::fopen(path, mode);
}

bool RemoveNamedFile(const char* path) {
    return DeleteFileA(path) != 0;
}

bool ReplaceFileWith(const char* tempPath, const char* path) {
    if (MoveFileExA(tempPath, path, MOVEFILE_REPLACE_EXISTING)) {
        return true;
    }
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        return false;
    }
    // Windows 95 and 98 cannot replace a file in one step: the old one goes first. The new
    // data is complete on disk by then, so at worst the temporary file survives a crash.
    DeleteFileA(path);
    return MoveFileA(tempPath, path) != 0;
}

bool QueryFileSize(const char* path, uint64_t* size) {
    WIN32_FIND_DATAA data;
    return SizeOfEntry(FindFirstFileA(path, &data), data, size);
}

std::vector<std::string> ListFolderFiles(const char* folder) {
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA(JoinFolderPath(folder, "*").c_str(), &data);
    return FilesOfSearch(
        search, data, FindNextFileA,
        +[](const WIN32_FIND_DATAA& found) { return std::string(found.cFileName); });
}

DWORD GetPathAttributes(const char* path) {
    return GetFileAttributesA(path);
}

bool SetCurrentFolder(const char* path) {
    return SetCurrentDirectoryA(path) != 0;
}

std::string GetProgramPath(HINSTANCE hInstance) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(hInstance, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? path : "";
}

#else

std::wstring WidePath(const char* path) {
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

bool NarrowPath(const wchar_t* path, char* out, size_t size) {
    const int written =
        WideCharToMultiByte(CP_UTF8, 0, path, -1, out, static_cast<int>(size), nullptr, nullptr);
    if (written <= 0 && size > 0) {
        out[0] = '\0';
    }
    return written > 0;
}

std::FILE* OpenNamedFile(const char* path, const char* mode) {
    return _wfopen(WidePath(path).c_str(), WidePath(mode).c_str());
}

bool RemoveNamedFile(const char* path) {
    return DeleteFileW(WidePath(path).c_str()) != 0;
}

bool ReplaceFileWith(const char* tempPath, const char* path) {
    return MoveFileExW(WidePath(tempPath).c_str(), WidePath(path).c_str(),
                       MOVEFILE_REPLACE_EXISTING) != 0;
}

bool QueryFileSize(const char* path, uint64_t* size) {
    WIN32_FIND_DATAW data;
    return SizeOfEntry(FindFirstFileW(WidePath(path).c_str(), &data), data, size);
}

// A name that does not fit a path buffer in UTF-8 comes back empty and matches nothing.
std::vector<std::string> ListFolderFiles(const char* folder) {
    WIN32_FIND_DATAW data;
    const HANDLE search =
        FindFirstFileW(WidePath(JoinFolderPath(folder, "*").c_str()).c_str(), &data);
    return FilesOfSearch(
        search, data, FindNextFileW, +[](const WIN32_FIND_DATAW& found) {
            char name[kMaxPathSize] = {};
            NarrowPath(found.cFileName, name, sizeof name);
            return std::string(name);
        });
}

DWORD GetPathAttributes(const char* path) {
    return GetFileAttributesW(WidePath(path).c_str());
}

bool SetCurrentFolder(const char* path) {
    return SetCurrentDirectoryW(WidePath(path).c_str()) != 0;
}

std::string GetProgramPath(HINSTANCE hInstance) {
    wchar_t wide[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(hInstance, wide, MAX_PATH);
    char path[kMaxPathSize] = {};
    return length > 0 && length < MAX_PATH && NarrowPath(wide, path, sizeof path) ? path : "";
}

#endif
