// File operations the core needs beyond the C library. Writing goes through a temporary file
// beside the target that then replaces it whole, so that a crash or a full disk never leaves a
// cut-off file where a good one was.
#pragma once

#include <cstddef>
#include <cstdint>

bool WriteFileReplacing(const char* path, const void* data, size_t size);

// Provided once per platform: replaces `path` by `tempPath` in one step, and reads the size of
// an existing file without reading the file.
bool ReplaceFileWith(const char* tempPath, const char* path);
bool QueryFileSize(const char* path, uint64_t* size);
