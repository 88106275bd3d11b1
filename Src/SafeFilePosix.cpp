#include "SafeFile.h"

#include <cstdio>
#include <dirent.h>
#include <string>
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

std::vector<std::string> ListFolderFiles(const char* folder) {
    std::vector<std::string> names;
    DIR* directory = opendir(folder);
    if (!directory) {
        return names;
    }
    while (const dirent* entry = readdir(directory)) {
        uint64_t size = 0;
        if (QueryFileSize(JoinFolderPath(folder, entry->d_name).c_str(), &size)) {
            names.push_back(entry->d_name);
        }
    }
    closedir(directory);
    return names;
}

std::string JoinFolderPath(const std::string& folder, const std::string& name) {
    return folder + "/" + name;
}

void FlushFileToDisk(std::FILE* file) {
    fsync(fileno(file));
}
