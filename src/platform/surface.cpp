#include "platform/surface.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <vector>

namespace quorix {

namespace {

int ToButtons(Qt::MouseButtons buttons) {
    int result = kNoButton;
    result |= buttons & Qt::LeftButton ? kLeftButton : 0;
    result |= buttons & Qt::RightButton ? kRightButton : 0;
    result |= buttons & Qt::MiddleButton ? kMiddleButton : 0;
    return result;
}

// Device pixels of a twip coordinate; integer points keep the raster engine on its fast path.
QPoint ToDevice(TwipPoint point, double scale) {
    return QPoint(static_cast<int>(std::lround(point.x * scale)),
                  static_cast<int>(std::lround(point.y * scale)));
}

// Appends a device point unless it repeats the last one.
void AppendDistinct(std::vector<QPoint>& points, QPoint point) {
    if (points.empty() || points.back() != point) {
        points.push_back(point);
    }
}

// A dense curve crosses each pixel column many times. The segments between consecutive points of
// one column cover exactly the span from their lowest to their highest point, so each column's run
// is replaced by its first, lowest, highest and last point: the same pixels, far fewer segments.
void PaintPolyline(QPainter& painter, const DisplayList& list, const DrawOp& op, double scale,
                   std::vector<QPoint>& buffer) {
    buffer.clear();
    const auto& points = list.Points();
    QPoint first, low, high, last;
    bool open = false;
    const auto closeRun = [&] {
        AppendDistinct(buffer, first);
        AppendDistinct(buffer, low);
        AppendDistinct(buffer, high);
        AppendDistinct(buffer, last);
    };
    for (std::size_t i = op.firstPoint; i < op.firstPoint + op.pointCount; ++i) {
        const QPoint device = ToDevice(points[i], scale);
        if (open && device.x() == last.x()) {
            low = device.y() < low.y() ? device : low;
            high = device.y() > high.y() ? device : high;
            last = device;
            continue;
        }
        if (open) {
            closeRun();
        }
        first = low = high = last = device;
        open = true;
    }
    if (open) {
        closeRun();
    }
    if (buffer.size() == 1) {
        painter.drawPoint(buffer.front());
    } else if (buffer.size() > 1) {
        painter.drawPolyline(buffer.data(), static_cast<int>(buffer.size()));
    }
}

} // namespace

void PaintDisplayList(QPainter& painter, const DisplayList& list, double pixelsPerTwip, const QFont& font) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(font);
    const int ascent = QFontMetrics(font, painter.device()).ascent();
    std::vector<QPoint> buffer;
    for (const DrawOp& op : list.Ops()) {
        painter.setPen(QPen(ToQColor(op.colour), 0));
        switch (op.kind) {
        case DrawKind::kLine:
            painter.drawLine(ToDevice(op.from, pixelsPerTwip), ToDevice(op.to, pixelsPerTwip));
            break;
        case DrawKind::kPoint:
            painter.drawPoint(ToDevice(op.from, pixelsPerTwip));
            break;
        case DrawKind::kPolyline:
            PaintPolyline(painter, list, op, pixelsPerTwip, buffer);
            break;
        case DrawKind::kCircle: {
            const double r = op.radius * pixelsPerTwip;
            painter.drawEllipse(QPointF(op.from.x * pixelsPerTwip, op.from.y * pixelsPerTwip), r, r);
            break;
        }
        case DrawKind::kText:
            painter.drawText(QPointF(op.from.x * pixelsPerTwip, op.from.y * pixelsPerTwip + ascent),
                             QString::fromStdString(op.text));
            break;
        }
    }
}

Surface::Surface(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAutoFillBackground(true);
}

float Surface::TextLineHeight() const {
    return static_cast<float>(PixelsToTwips(QFontMetrics(font()).height()));
}

void Surface::SetBackColor(Colour colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    setPalette(palette);
}

void Surface::SetMousePointer(MousePointer pointer) {
    pointer_ = pointer;
    setCursor(pointer == MousePointer::kCrossHair ? Qt::CrossCursor : Qt::ArrowCursor);
}

QImage Surface::Snapshot() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    QPainter painter(&image);
    PaintDisplayList(painter, list_, 1.0 / TwipsPerPixel(), font());
    return image;
}

void Surface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintDisplayList(painter, list_, 1.0 / TwipsPerPixel(), font());
}

void Surface::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) {
        const QPointF at = event->position();
        onMouseMove(ToButtons(event->buttons()), static_cast<float>(PixelsToTwips(1) * at.x()),
                    static_cast<float>(PixelsToTwips(1) * at.y()));
    }
}

void Surface::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown) {
        const QPointF at = event->position();
        onMouseDown(ToButtons(event->button()), static_cast<float>(PixelsToTwips(1) * at.x()),
                    static_cast<float>(PixelsToTwips(1) * at.y()));
    }
}

} // namespace quorix
