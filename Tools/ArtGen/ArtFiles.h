#pragma once

#include "ByteWriter.h"

#include <filesystem>
#include <string>
#include <vector>

namespace artgen {

struct ArtFile {
    std::string path; // relative to the repository root, with '/' separators
    Bytes bytes;
};

// Every generated file, in a fixed order. The same call always gives the same bytes.
std::vector<ArtFile> buildArtFiles();

// Writes buildArtFiles() below `root`, creating folders as needed.
void writeArtFiles(const std::filesystem::path& root);

} // namespace artgen
