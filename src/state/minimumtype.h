#pragma once

namespace quorix {

// Which eclipse a time of minimum belongs to, when the observer's table says so. Primaries fall at
// whole cycle counts and secondaries half a cycle later.
enum class MinimumType { kUnknown, kPrimary, kSecondary };

} // namespace quorix
