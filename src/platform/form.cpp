#include "platform/form.h"

#include "state/numbertext.h"

#include <QCloseEvent>
#include <QMenuBar>

#include <algorithm>
#include <cmath>

namespace quorix {

Form::Form(QWidget* parent) : QMainWindow(parent), surface_(new Surface(this)) {
    setCentralWidget(surface_);
    surface_->onMouseMove = [this](int button, float x, float y) { Form_MouseMove(button, x, y); };
    surface_->onMouseDown = [this](int button, float x, float y) { Form_MouseDown(button, x, y); };
    reportedSize_ = size();
}

void Form::Load() {
    Form_Load();
}

namespace {

// The frame the window manager last put around a window of this program. All top-level windows get
// the same one, so it stands for the frame of a window not yet on screen; none is known at first.
QMargins lastSeenFrame;

} // namespace

double Form::Measure(const RememberedTwips& remembered, int pixels) const {
    return remembered.pixels == pixels ? remembered.twips : PixelsToTwips(pixels);
}

double Form::Top() const {
    return Measure(top_, OuterRect().top());
}
double Form::Left() const {
    return Measure(left_, OuterRect().left());
}
double Form::Width() const {
    return Measure(width_, OuterRect().width());
}
double Form::Height() const {
    return Measure(height_, OuterRect().height());
}

bool Form::FrameSeen() const {
    return frameGeometry() != geometry();
}

QMargins Form::Frame() const {
    if (FrameSeen()) {
        const QRect outer = frameGeometry();
        const QRect inner = geometry();
        lastSeenFrame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                                 outer.right() - inner.right(), outer.bottom() - inner.bottom());
        return lastSeenFrame;
    }
    // Not framed yet, on screen or not: the frame will be as the others'. Without a window manager
    // no frame is ever seen and none is assumed.
    return lastSeenFrame;
}

bool Form::AwaitingFrame() const {
    return testAttribute(Qt::WA_WState_Created) && !FrameSeen();
}

QRect Form::OuterRect() const {
    if (FrameSeen()) {
        return frameGeometry();
    }
    // Placed by its outer corner before it was first shown, a window keeps that corner as its
    // place until the window manager frames it; otherwise its place is that of its inside.
    if (placedByCorner_ || !testAttribute(Qt::WA_WState_Created)) {
        return QRect(geometry().topLeft(), size().grownBy(Frame()));
    }
    return geometry().marginsAdded(Frame());
}

void Form::MoveOuter(int left, int top) {
    // Once shown, a window is placed by its inside until its frame is known: put the inside where
    // the expected frame will leave it.
    placedByCorner_ = !testAttribute(Qt::WA_WState_Created);
    if (AwaitingFrame()) {
        const QMargins frame = Frame();
        move(left + frame.left(), top + frame.top());
    } else {
        move(left, top);
    }
}

void Form::ResizeOuter(int width, int height) {
    if (placedByCorner_ && AwaitingFrame()) {
        const QRect outer = OuterRect();
        MoveOuter(outer.left(), outer.top()); // a size change made now places the window by its inside
    }
    wantedOuter_ = QSize(width, height);
    assumedFrame_ = Frame();
    resize(QSize(width, height).shrunkBy(assumedFrame_).expandedTo(QSize(1, 1)));
    ReportSizeChange();
}

void Form::FitFrameOnceKnown() {
    // The outer size was set for the frame expected; once the real one is known and differs, the
    // inside takes the difference, so the outer size stays what was asked for.
    if (!wantedOuter_.isValid() || !isVisible()) {
        return;
    }
    const QMargins frame = Frame();
    if (frame == assumedFrame_) {
        return;
    }
    if (size() != wantedOuter_.shrunkBy(assumedFrame_).expandedTo(QSize(1, 1))) {
        wantedOuter_ = QSize(); // sized since from outside: that size stands
        return;
    }
    ResizeOuter(wantedOuter_.width(), wantedOuter_.height());
}

void Form::SetTop(double twips) {
    MoveOuter(OuterRect().left(), TwipsToPixels(twips));
    top_ = {twips, OuterRect().top()};
}

void Form::SetLeft(double twips) {
    MoveOuter(TwipsToPixels(twips), OuterRect().top());
    left_ = {twips, OuterRect().left()};
}

void Form::SetWidth(double twips) {
    width_ = {twips, TwipsToPixels(twips)};
    ResizeOuter(TwipsToPixels(twips), OuterRect().size().height());
    width_.pixels = OuterRect().size().width();
}

void Form::SetHeight(double twips) {
    height_ = {twips, TwipsToPixels(twips)};
    ResizeOuter(OuterRect().size().width(), TwipsToPixels(twips));
    height_.pixels = OuterRect().size().height();
}

void Form::ReportSizeChange() {
    if (holdSizeReports_ || size() == reportedSize_) {
        return;
    }
    reportedSize_ = size();
    Form_Resize();
}

void Form::StorePlacement(std::int16_t& top, std::int16_t& left, std::int16_t& height,
                          std::int16_t& width) const {
    top = RoundClampInt16(Top());
    left = RoundClampInt16(Left());
    height = RoundClampInt16(Height());
    width = RoundClampInt16(Width());
}

void Form::ApplyPlacement(double top, double left, double height, double width) {
    SetTop(top);
    SetLeft(left);
    SetHeight(height);
    SetWidth(width);
}

void Form::SetCaption(const std::string& caption) {
    setWindowTitle(ToQString(caption));
}
std::string Form::Caption() const {
    return windowTitle().toStdString();
}

void Form::SetBackColor(Colour colour) {
    surface_->SetBackColor(colour);
}

void Form::SetFormFont(const FontStyle& font) {
    setFont(ToQFont(font));
    menuBar()->setFont(QFont());
}

void Form::Show() {
    // A window the user minimised comes back when the program shows it.
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
}

void Form::Hide() {
    hide();
}

QMenu* Form::AddMenu(const std::string& caption) {
    return menuBar()->addMenu(ToQString(caption));
}

QAction* Form::AddMenuItem(QMenu* menu, const std::string& caption, std::function<void()> handler) {
    QAction* action = menu->addAction(ToQString(caption));
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return action;
}

void Form::AddMenuSeparator(QMenu* menu) {
    menu->addSeparator();
}

void Form::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FitFrameOnceKnown();
    ReportSizeChange();
}

void Form::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownSinceLoad_ || event->spontaneous()) {
        FitFrameOnceKnown();
        return;
    }
    shownSinceLoad_ = true;
    // A frame first known now changes the inside; the one resize of the first showing covers that.
    holdSizeReports_ = true;
    FitFrameOnceKnown();
    holdSizeReports_ = false;
    reportedSize_ = size();
    Form_Resize();
}

void Form::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // The window manager tells the frame it puts around a window with a move of the inside.
    FitFrameOnceKnown();
}

void Form::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
    if (onUnloaded) {
        onUnloaded();
    }
}

void Form::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange) {
        return;
    }
    if (isActiveWindow()) {
        // A hidden window takes no focus: the activation that follows the closing of its menu must
        // not redraw, and so show again, a window that its "Exit" has just hidden.
        if (isVisible()) {
            Form_GotFocus();
        }
    } else {
        Form_LostFocus();
        Form_Deactivate();
    }
}

} // namespace quorix
