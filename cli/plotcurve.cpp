#include "cli/plotcurve.h"

namespace quorix::cli {

PlotCurve::PlotCurve(std::int32_t gridPoints, std::int32_t capacity, std::int32_t columns)
    : points_(gridPoints), columns_(columns), reduced_(gridPoints > capacity) {
    if (reduced_) {
        extremes_.resize(static_cast<std::size_t>(columns));
    } else {
        whole_.resize(static_cast<std::size_t>(gridPoints));
    }
}

void PlotCurve::Add(std::int32_t first, std::span<const double> values) {
    for (std::size_t k = 0; k < values.size(); ++k) {
        const auto index = first + static_cast<std::int32_t>(k);
        const double value = values[k];
        if (!reduced_) {
            whole_[static_cast<std::size_t>(index)] = value;
            continue;
        }
        Column& column =
            extremes_[static_cast<std::size_t>(static_cast<std::int64_t>(index) * columns_ / points_)];
        if (column.lowIndex < 0 || value < column.low) {
            column.low = value;
            column.lowIndex = index;
        }
        if (column.highIndex < 0 || value > column.high) {
            column.high = value;
            column.highIndex = index;
        }
    }
}

std::vector<double> PlotCurve::Values() const {
    if (!reduced_) {
        return whole_;
    }
    std::vector<double> values;
    values.reserve(extremes_.size() * 2);
    for (const Column& column : extremes_) {
        if (column.lowIndex < 0) {
            continue;
        }
        const bool lowFirst = column.lowIndex <= column.highIndex;
        values.push_back(lowFirst ? column.low : column.high);
        if (column.lowIndex != column.highIndex) {
            values.push_back(lowFirst ? column.high : column.low);
        }
    }
    return values;
}

} // namespace quorix::cli
