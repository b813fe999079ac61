#pragma once

#include "platform/displaylist.h"

#include <vector>

namespace quorix::testing {

// The points of every polyline of a drawing, in drawing order.
inline std::vector<std::vector<TwipPoint>> Polylines(const DisplayList& drawing) {
    std::vector<std::vector<TwipPoint>> polylines;
    for (const DrawOp& op : drawing.Ops()) {
        if (op.kind == DrawKind::kPolyline) {
            polylines.push_back(drawing.PolylinePoints(op));
        }
    }
    return polylines;
}

// The x where each straight line of a drawing that `keep` accepts starts, in drawing order.
template <typename Keep> std::vector<float> LineXs(const DisplayList& drawing, Keep keep) {
    std::vector<float> xs;
    for (const DrawOp& op : drawing.Ops()) {
        if (op.kind == DrawKind::kLine && keep(op)) {
            xs.push_back(op.from.x);
        }
    }
    return xs;
}

} // namespace quorix::testing
