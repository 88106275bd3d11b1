#include "SafeFile.h"

#include "DataPath.h"

#include <cstdio>

namespace {

using TempPathBuffer = char[kMaxPathSize + kTempFileSuffixLength];

bool FormatTempPath(TempPathBuffer& tempPath, const char* path) {
    return std::snprintf(tempPath, sizeof tempPath, "%s%s", path, kTempFileSuffix) <
           static_cast<int>(sizeof tempPath);
}

bool FileExists(const char* path) {
    uint64_t size = 0;
    return QueryFileSize(path, &size);
}

} // namespace

bool WriteFileReplacing(const char* path, const void* data, size_t size) {
    TempPathBuffer tempPath;
    if (!FormatTempPath(tempPath, path)) {
        return false;
    }
    FILE* file = OpenNamedFile(tempPath, "wb");
    if (!file) {
        return false;
    }
    bool written = std::fwrite(data, 1, size, file) == size;
    written = std::fflush(file) == 0 && written;
    if (written) {
        FlushFileToDisk(file);
    }
    written = std::fclose(file) == 0 && written;
    if (written && ReplaceFileWith(tempPath, path)) {
        return true;
    }
    if (!written || FileExists(path)) {
        RemoveNamedFile(tempPath);
    }
    return false;
}

void FinishInterruptedReplace(const char* path, CompletenessCheck isComplete) {
    TempPathBuffer tempPath;
    if (FormatTempPath(tempPath, path) && !FileExists(path) && FileExists(tempPath) &&
        isComplete(tempPath)) {
        ReplaceFileWith(tempPath, path);
    }
}
