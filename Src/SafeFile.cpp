#include "SafeFile.h"

#include "DataPath.h"

#include <cstdio>
#include <cstring>

bool WriteFileReplacing(const char* path, const void* data, size_t size) {
    char tempPath[kMaxPathSize + kTempFileSuffixLength];
    if (std::snprintf(tempPath, sizeof tempPath, "%s%s", path, kTempFileSuffix) >=
        static_cast<int>(sizeof tempPath)) {
        return false;
    }
    FILE* file = OpenNamedFile(tempPath, "wb");
    if (!file) {
        return false;
    }
    bool written = std::fwrite(data, 1, size, file) == size;
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written || !ReplaceFileWith(tempPath, path)) {
        RemoveNamedFile(tempPath);
        return false;
    }
    return true;
}
