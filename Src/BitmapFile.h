// The check an image file passes before the platform's bitmap loader may read it. The loader
// trusts the headers: a file that claims more pixels or colours than it holds (a cut-off
// download, a broken copy) makes it read past the end of the file.
#pragma once

#include <cstddef>
#include <cstdint>

// The most bytes of a file's start that the check looks at: the file header and the fields of
// the information header it reads. What follows is only measured against the file's size.
constexpr size_t kBitmapHeadBytes = 14 + 40;

// Whether a file of `fileSize` bytes that starts with `head` (its first min(fileSize,
// kBitmapHeadBytes) bytes, `headSize` of them) is a bitmap whose headers, colour table and
// pixels all lie inside the file.
bool IsWholeBitmapFile(const uint8_t* head, size_t headSize, uint64_t fileSize);
