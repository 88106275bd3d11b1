// File operations the core needs beyond the C library. Writing goes through a temporary file
// beside the target that then replaces it whole, so that a crash or a full disk never leaves a
// cut-off file where a good one was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The temporary file is named by the path and this suffix.
constexpr char kTempFileSuffix[] = ".new";
constexpr size_t kTempFileSuffixLength = sizeof kTempFileSuffix - 1;

// True when `path` holds the data. The temporary file is on disk before it replaces `path`;
// after a failure it is removed, unless the old file is gone and it is the only whole copy.
bool WriteFileReplacing(const char* path, const void* data, size_t size);

// A reader's own check that a file is whole, as its writer leaves it.
using CompletenessCheck = bool (*)(const char* path);
// Finishes a replace that a crash or a power cut stopped after the old file was gone (Windows 95
// and 98 remove it first): when `path` is missing and its temporary file is whole, that file
// becomes `path`. A temporary file that `isComplete` refuses is left alone and never read.
void FinishInterruptedReplace(const char* path, CompletenessCheck isComplete);

// Provided once per platform, for paths in the platform's own encoding of file names (UTF-8 on
// Windows, whose file names may be in any script): opens a file as std::fopen does, removes
// one, replaces `path` by `tempPath` in one step, and reads the size of an existing file
// without reading the file. FlushFileToDisk asks the system to put what was written to a file
// on the disk itself, so that a power cut cannot take it; a file system that cannot is left to
// write it in its own time.
std::FILE* OpenNamedFile(const char* path, const char* mode);
bool RemoveNamedFile(const char* path);
bool ReplaceFileWith(const char* tempPath, const char* path);
bool QueryFileSize(const char* path, uint64_t* size);
// The names of the files (not the folders) in `folder`, in no particular order; none when it
// cannot be read. A name joined to its folder with the platform's separator is a path.
std::vector<std::string> ListFolderFiles(const char* folder);
std::string JoinFolderPath(const std::string& folder, const std::string& name);
void FlushFileToDisk(std::FILE* file);
