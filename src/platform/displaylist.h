#pragma once

#include "base/colour.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quorix {

// A point of a drawing in twips, in the single precision the drawing routines hand over.
struct TwipPoint {
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const TwipPoint&, const TwipPoint&) = default;
};

enum class DrawKind { kLine, kPolyline, kPoint, kCircle, kText };

// One recorded drawing operation. Polylines keep their points in the list's shared point array.
struct DrawOp {
    DrawKind kind = DrawKind::kLine;
    Colour colour{};
    TwipPoint from{};         // line start, point, circle centre, text position
    TwipPoint to{};           // line end
    float radius = 0.0f;      // circles
    std::size_t firstPoint{}; // polylines: index into Points()
    std::size_t pointCount{}; // polylines: number of points
    std::string text;         // text lines
};

// The picture of a window surface as a list of operations in twips. Windows draw into it and it is
// replayed in full on every paint, on the printer and into images, so nothing is cached as pixels.
// Lines drawn on from the pen position in one colour are kept as one polyline.
class DisplayList {
public:
    // Removes everything and moves the pen and the text position to the top-left corner.
    void Cls();
    void SetForeColor(Colour colour) { foreColor_ = colour; }
    [[nodiscard]] Colour ForeColor() const { return foreColor_; }

    // A line between two points; the pen moves to the second.
    void Line(float x1, float y1, float x2, float y2);
    // A single point, which becomes the pen position.
    void PSet(float x, float y);
    // A line from the pen position; the pen moves to its end.
    void LineTo(float x, float y);
    // A circle outline; the pen moves to its centre.
    void Circle(float x, float y, float radius);
    // A text line at the running text position, which then moves down by `lineHeight`.
    void Print(const std::string& text, float lineHeight);

    [[nodiscard]] TwipPoint Pen() const { return pen_; }
    [[nodiscard]] const std::vector<DrawOp>& Ops() const { return ops_; }
    [[nodiscard]] const std::vector<TwipPoint>& Points() const { return points_; }
    // The points of one polyline operation.
    [[nodiscard]] std::vector<TwipPoint> PolylinePoints(const DrawOp& op) const;

private:
    std::vector<DrawOp> ops_;
    std::vector<TwipPoint> points_;
    Colour foreColor_{};
    TwipPoint pen_{};
    float textY_ = 0.0f;
};

} // namespace quorix
