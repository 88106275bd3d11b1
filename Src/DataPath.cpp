#include "DataPath.h"

#include "TextUtil.h"

#include <cstring>

const char* const kDataFolderName = "Clankmere";

namespace {

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string DataFolder(const char* base, const char* subfolder) {
    std::string folder = base;
    if (!folder.empty()) {
        folder += '\\';
    }
    folder += kDataFolderName;
    if (subfolder && subfolder[0] != '\0' && std::strcmp(subfolder, ".") != 0) {
        folder += '\\';
        folder += subfolder;
    }
    return folder;
}

size_t SkipComponent(const char* path, size_t at) {
    while (path[at] != '\0' && !IsPathSeparator(path[at])) {
        ++at;
    }
    return at;
}

// The length of the part of `path` that names no directory to create: a network share with
// its server, a drive letter with its colon, or a leading separator.
size_t RootLength(const char* path) {
    if (IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        const size_t serverEnd = SkipComponent(path, 2);
        return path[serverEnd] == '\0' ? serverEnd : SkipComponent(path, serverEnd + 1);
    }
    if (IsAsciiLetter(path[0]) && path[1] == ':') {
        return 2;
    }
    return 0;
}

} // namespace

char* BuildDataPath(CDataFolderPlatform& platform, char (&out)[kMaxPathSize], const char* subfolder,
                    const char* fileName) {
    char base[kMaxPathSize] = {};
    platform.GetBaseFolder(base);
    base[kMaxPathSize - 1] = '\0';
    const std::string folder = DataFolder(base, subfolder);
    if (!fileName || fileName[0] == '\0') {
        CopyBounded(out, sizeof out, folder.c_str());
        return out;
    }
    // A cut path would name another file, or create a folder nobody asked for.
    const std::string path = folder + '\\' + fileName;
    const bool usable = path.size() < sizeof out && platform.FitsFileCalls(path) &&
                        platform.CreateFolder(folder.c_str());
    CopyBounded(out, sizeof out, usable ? path.c_str() : fileName);
    return out;
}

std::vector<std::string> DirectoriesToCreate(const char* path) {
    std::vector<std::string> directories;
    size_t at = RootLength(path);
    while (path[at] != '\0') {
        while (IsPathSeparator(path[at])) {
            ++at;
        }
        const size_t end = SkipComponent(path, at);
        if (end > at) {
            directories.emplace_back(path, end);
        }
        at = end;
    }
    return directories;
}

void LowerCaseExtension(char* path) {
    char* dot = std::strrchr(path, '.');
    if (!dot) {
        return;
    }
    for (char* c = dot + 1; *c != '\0'; ++c) {
        if (*c >= 'A' && *c <= 'Z') {
            *c = static_cast<char>(*c - 'A' + 'a');
        }
    }
}
