#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quorix::testing {

// A file's bytes exactly as stored; empty when it cannot be read.
inline std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace quorix::testing
