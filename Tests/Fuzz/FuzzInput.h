// Fuzz inputs reach the file readers through a scratch file, as a real file would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

inline std::string WriteFuzzFile(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/clankmere-fuzz-" + std::to_string(getpid()) + ".txt";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}
