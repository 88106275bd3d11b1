// File operations the core needs beyond the C library. Writing goes through a temporary file
// beside the target that then replaces it whole, so that a crash or a full disk never leaves a
// cut-off file where a good one was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The temporary file is named by the path and this suffix.
constexpr char kTempFileSuffix[] = ".new";
constexpr size_t kTempFileSuffixLength = sizeof kTempFileSuffix - 1;

// True when `path` holds the data; after a failure the old file is as it was.
bool WriteFileReplacing(const char* path, const void* data, size_t size);

// Provided once per platform, for paths in the platform's own encoding of file names (UTF-8 on
// Windows, whose file names may be in any script): opens a file as std::fopen does, removes
// one, replaces `path` by `tempPath` in one step, and reads the size of an existing file
// without reading the file.
std::FILE* OpenNamedFile(const char* path, const char* mode);
bool RemoveNamedFile(const char* path);
bool ReplaceFileWith(const char* tempPath, const char* path);
bool QueryFileSize(const char* path, uint64_t* size);
