// Scratch folders and whole-file reads and writes for tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A fresh folder, removed with what it holds when the test ends.
class CTempDir {
public:
    ~CTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string Path(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_pattern = (std::filesystem::temp_directory_path() / "clankmere-XXXXXX").string();
    std::string m_path = mkdtemp(m_pattern.data());
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
