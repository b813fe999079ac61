#pragma once

#include "platform/displaylist.h"
#include "platform/twips.h"

#include <QWidget>

#include <functional>

class QPainter;

namespace quorix {

// Mouse buttons as the windows' handlers receive them.
enum MouseButton : int { kNoButton = 0, kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

enum class MousePointer { kArrow, kCrossHair };

// Replays a display list on any painter: the screen, a printer page or an image. `pixelsPerTwip`
// scales twips to the painter's device; lines are one device pixel wide and not antialiased.
void PaintDisplayList(QPainter& painter, const DisplayList& list, double pixelsPerTwip, const QFont& font);

// The drawing surface of a window: its client area below the menu bar. The window's routines draw
// into its display list, which is all that is ever painted; mouse events are reported in twips.
class Surface : public QWidget {
    Q_OBJECT
public:
    explicit Surface(QWidget* parent = nullptr);

    // The height of one text line in the surface's font, in twips: how far a printed line moves
    // the text position down.
    [[nodiscard]] float TextLineHeight() const;

    void SetBackColor(Colour colour);
    void SetMousePointer(MousePointer pointer);
    [[nodiscard]] MousePointer Pointer() const { return pointer_; }
    [[nodiscard]] const DisplayList& Drawing() const { return list_; }
    // The picture for the routines that draw; a repaint is scheduled with every hand-out.
    [[nodiscard]] DisplayList& EditDrawing() {
        update();
        return list_;
    }
    // The surface as it would appear on screen, drawn from the display list.
    [[nodiscard]] QImage Snapshot() const;

    // Called with the button (one of MouseButton) and the position in twips.
    std::function<void(int button, float x, float y)> onMouseMove;
    std::function<void(int button, float x, float y)> onMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    DisplayList list_;
    MousePointer pointer_ = MousePointer::kArrow;
};

} // namespace quorix
