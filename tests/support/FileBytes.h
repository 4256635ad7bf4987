#pragma once

// Whole files as byte strings, for tests that check what a program or writer left on disc.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace test_support {

// The file's bytes; empty when it cannot be read.
inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace test_support
