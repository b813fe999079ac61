#pragma once

#include <filesystem>
#include <string>

namespace quorix::testing {

// The process's current folder, or the empty text when it cannot be told (it was removed).
inline std::string CurrentFolder() {
    std::error_code ignored;
    return std::filesystem::current_path(ignored).string();
}

} // namespace quorix::testing
