#include "SafeFile.h"

#include <windows.h>

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

// The directory entry of the file, which Windows 95 also gives; file names hold no wildcards.
bool QueryFileSize(const char* path, uint64_t* size) {
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA(path, &data);
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
