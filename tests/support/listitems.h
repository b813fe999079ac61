#pragma once

#include <string>
#include <vector>

namespace quorix::testing {

// The entries of a list control (file, folder, drive or combo list), top to bottom.
template <typename List> std::vector<std::string> Items(const List& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.ListCount(); ++i) {
        items.push_back(list.Item(i));
    }
    return items;
}

} // namespace quorix::testing
