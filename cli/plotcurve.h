#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quorix::cli {

// The FT values the plot draws, taken from the blocks of a walk. A grid the desktop's FT array can
// hold is kept whole; a longer one is reduced to each plot column's lowest and highest value, in
// grid order, which draws the same picture as the whole curve at that many columns.
class PlotCurve {
public:
    PlotCurve(std::int32_t gridPoints, std::int32_t capacity, std::int32_t columns);

    void Add(std::int32_t first, std::span<const double> values);

    // The curve, evenly spaced over the grid's frequency range from its first to its last point.
    [[nodiscard]] std::vector<double> Values() const;
    [[nodiscard]] bool Reduced() const { return reduced_; }

private:
    struct Column {
        std::int32_t lowIndex = -1, highIndex = -1;
        double low = 0.0, high = 0.0;
    };

    std::int32_t points_;
    std::int32_t columns_;
    bool reduced_;
    std::vector<double> whole_;
    std::vector<Column> extremes_;
};

} // namespace quorix::cli
