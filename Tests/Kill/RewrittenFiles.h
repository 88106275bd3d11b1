// The files the kill test rewrites: "High Scores.txt", "Saved Game.txt" and "Last Game.txt",
// each in two complete versions of clearly different sizes, written by the program's own code.
#pragma once

#include <string>

constexpr int kRewrittenFileCount = 3;
constexpr int kVersionCount = 2;

const char* RewrittenFileName(int file);
std::string RewrittenFilePath(const std::string& folder, int file);

// Writes `version` (0 or 1) of `file` into `folder` the way the program writes that file.
void WriteVersion(const std::string& folder, int file, int version);

// Tells which complete version a file holds, byte for byte.
class CVersionIdentifier {
public:
    // Writes every version once into `referenceFolder`, an existing folder, and keeps its bytes.
    explicit CVersionIdentifier(const std::string& referenceFolder);

    // 0 or 1; -1, with `problem` saying what the file holds instead, when it holds neither.
    int Identify(const std::string& folder, int file, std::string& problem) const;

    size_t VersionSize(int file, int version) const { return m_bytes[file][version].size(); }

private:
    std::string m_bytes[kRewrittenFileCount][kVersionCount];
};
