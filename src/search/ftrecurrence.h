#pragma once

#include <cstddef>

namespace quorix {

// Grid points summed per pass over the observations: a buffer of sums holds the points asked for
// plus this many.
inline constexpr int kRecurrenceSlack = 8;

// Observations handled side by side; the arrays given to SumRecurrence hold a multiple of it.
[[nodiscard]] std::size_t RecurrenceLanes();

// For each observation j, c[-1] = prev[j], c[0] = cur[j] and c[k + 1] = twiceCos[j] x c[k] - c[k - 1];
// adds the sum over the observations of c[k] to sums[k], k = 0..points - 1, and may fill up to
// kRecurrenceSlack further sums. `prev` and `cur` are overwritten. `lanes` is a multiple of
// RecurrenceLanes(); lanes past the observations hold zeros, which add nothing.
void SumRecurrence(const double* twiceCos, double* prev, double* cur, std::size_t lanes, int points,
                   double* sums);

} // namespace quorix
