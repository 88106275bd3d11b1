#include "DataPath.h"
#include "SafeFile.h"
#include "WinPath.h"

#include <windows.h>

#include <io.h>

namespace {

// Another program that holds a file open for a moment (a virus scanner, a search indexer, a
// backup or a cloud-sync client) makes a replace fail with one of these errors, and so does a
// read-only file; either is tried again for a while, not longer.
constexpr DWORD kRefusedReplaceRetryMs = 1500;
constexpr DWORD kRefusedReplacePauseMs = 50;

bool IsRefusal(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

template <typename Replace> bool RetryWhileRefused(Replace replace) {
    const DWORD start = GetTickCount();
    while (!replace()) {
        if (!IsRefusal(GetLastError()) || GetTickCount() - start >= kRefusedReplaceRetryMs) {
            return false;
        }
        Sleep(kRefusedReplacePauseMs);
    }
    return true;
}

// The rename reaches the disk before it returns, so that after a power cut the new name does
// not stand for data that never got there.
constexpr DWORD kReplaceFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

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

void FlushFileToDisk(std::FILE* file) {
    const intptr_t handle = _get_osfhandle(_fileno(file));
    if (handle != -1) {
        FlushFileBuffers(reinterpret_cast<HANDLE>(handle));
    }
}

#ifdef CLANKMERE_9X

namespace {

// Windows 95, 98 and Me export MoveFileEx, but only as a stub that fails.
bool IsWindows9xFamily() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// Those systems cannot replace a file in one step: the old one goes first. The new data is on
// the disk by then, so a crash in between leaves it whole under the temporary name, where the
// readers find it (FinishInterruptedReplace). GetLastError tells why a step failed.
bool ReplaceByRemovingFirst(const char* tempPath, const char* path) {
    if (!DeleteFileA(path) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    return MoveFileA(tempPath, path) != 0;
}

} // namespace

std::FILE* OpenNamedFile(const char* path, const char* mode) {
    return std::fopen(path, mode);
}

bool RemoveNamedFile(const char* path) {
    return DeleteFileA(path) != 0;
}

bool ReplaceFileWith(const char* tempPath, const char* path) {
    const bool windows9x = IsWindows9xFamily();
    return RetryWhileRefused([&] {
        return windows9x ? ReplaceByRemovingFirst(tempPath, path)
                         : MoveFileExA(tempPath, path, kReplaceFlags) != 0;
    });
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
    const std::wstring from = WidePath(tempPath);
    const std::wstring to = WidePath(path);
    return RetryWhileRefused(
        [&] { return MoveFileExW(from.c_str(), to.c_str(), kReplaceFlags) != 0; });
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
