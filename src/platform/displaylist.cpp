#include "platform/displaylist.h"

namespace quorix {

void DisplayList::Cls() {
    ops_.clear();
    points_.clear();
    pen_ = {};
    textY_ = 0.0f;
}

void DisplayList::Line(float x1, float y1, float x2, float y2) {
    DrawOp op;
    op.kind = DrawKind::kLine;
    op.colour = foreColor_;
    op.from = {x1, y1};
    op.to = {x2, y2};
    ops_.push_back(std::move(op));
    pen_ = {x2, y2};
}

void DisplayList::PSet(float x, float y) {
    DrawOp op;
    op.kind = DrawKind::kPoint;
    op.colour = foreColor_;
    op.from = {x, y};
    ops_.push_back(std::move(op));
    pen_ = {x, y};
}

void DisplayList::LineTo(float x, float y) {
    // The last operation being a polyline means the pen stands at its end.
    const bool continues =
        !ops_.empty() && ops_.back().kind == DrawKind::kPolyline && ops_.back().colour == foreColor_;
    if (!continues) {
        DrawOp op;
        op.kind = DrawKind::kPolyline;
        op.colour = foreColor_;
        op.firstPoint = points_.size();
        op.pointCount = 1;
        points_.push_back(pen_);
        ops_.push_back(std::move(op));
    }
    points_.push_back({x, y});
    ++ops_.back().pointCount;
    pen_ = {x, y};
}

void DisplayList::Circle(float x, float y, float radius) {
    DrawOp op;
    op.kind = DrawKind::kCircle;
    op.colour = foreColor_;
    op.from = {x, y};
    op.radius = radius;
    ops_.push_back(std::move(op));
    pen_ = {x, y};
}

void DisplayList::Print(const std::string& text, float lineHeight) {
    DrawOp op;
    op.kind = DrawKind::kText;
    op.colour = foreColor_;
    op.from = {0.0f, textY_};
    op.text = text;
    ops_.push_back(std::move(op));
    textY_ += lineHeight;
}

std::vector<TwipPoint> DisplayList::PolylinePoints(const DrawOp& op) const {
    if (op.kind != DrawKind::kPolyline) {
        return {};
    }
    const auto first = points_.begin() + static_cast<std::ptrdiff_t>(op.firstPoint);
    return {first, first + static_cast<std::ptrdiff_t>(op.pointCount)};
}

} // namespace quorix
