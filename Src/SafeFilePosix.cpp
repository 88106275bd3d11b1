#include "SafeFile.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

std::FILE* OpenNamedFile(const char* path, const char* mode) {
    return std::fopen(path, mode);
}

bool RemoveNamedFile(const char* path) {
    return std::remove(path) == 0;
}

bool ReplaceFileWith(const char* tempPath, const char* path) {
    return std::rename(tempPath, path) == 0;
}

bool QueryFileSize(const char* path, uint64_t* size) {
    struct stat info;
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    *size = static_cast<uint64_t>(info.st_size);
    return true;
}

void FlushFileToDisk(std::FILE* file) {
    fsync(fileno(file));
}
