#include "SafeFile.h"

#include <windows.h>

bool ReplaceFileWith(const char* tempPath, const char* path) {
    return MoveFileExA(tempPath, path, MOVEFILE_REPLACE_EXISTING) != 0;
}

bool QueryFileSize(const char* path, uint64_t* size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return false;
    }
    *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}
