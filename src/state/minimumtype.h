#pragma once

namespace quorix {

// Whether a time of minimum is a primary (deeper) or a secondary eclipse, when the data say so.
enum class MinimumType { kUnknown, kPrimary, kSecondary };

} // namespace quorix
