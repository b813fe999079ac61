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

double Form::Measure(const RememberedTwips& remembered, int pixels) const {
    return remembered.pixels == pixels ? remembered.twips : PixelsToTwips(pixels);
}

double Form::Top() const {
    return Measure(top_, frameGeometry().top());
}
double Form::Left() const {
    return Measure(left_, frameGeometry().left());
}
double Form::Width() const {
    return Measure(width_, frameGeometry().width());
}
double Form::Height() const {
    return Measure(height_, frameGeometry().height());
}

QSize Form::FrameExtra() const {
    return frameGeometry().size() - geometry().size();
}

void Form::ApplyOuterGeometry(int left, int top, int width, int height) {
    const QSize extra = FrameExtra();
    move(left, top);
    resize(std::max(1, width - extra.width()), std::max(1, height - extra.height()));
    ReportSizeChange();
}

void Form::SetTop(double twips) {
    const QRect outer = frameGeometry();
    ApplyOuterGeometry(outer.left(), TwipsToPixels(twips), outer.width(), outer.height());
    top_ = {twips, frameGeometry().top()};
}

void Form::SetLeft(double twips) {
    const QRect outer = frameGeometry();
    ApplyOuterGeometry(TwipsToPixels(twips), outer.top(), outer.width(), outer.height());
    left_ = {twips, frameGeometry().left()};
}

void Form::SetWidth(double twips) {
    const QRect outer = frameGeometry();
    width_ = {twips, TwipsToPixels(twips)};
    ApplyOuterGeometry(outer.left(), outer.top(), TwipsToPixels(twips), outer.height());
    width_.pixels = frameGeometry().width();
}

void Form::SetHeight(double twips) {
    const QRect outer = frameGeometry();
    height_ = {twips, TwipsToPixels(twips)};
    ApplyOuterGeometry(outer.left(), outer.top(), outer.width(), TwipsToPixels(twips));
    height_.pixels = frameGeometry().height();
}

void Form::ReportSizeChange() {
    if (size() == reportedSize_) {
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
    ReportSizeChange();
}

void Form::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownSinceLoad_ || event->spontaneous()) {
        return;
    }
    shownSinceLoad_ = true;
    FitRememberedOuterSize();
    reportedSize_ = size();
    Form_Resize();
}

void Form::FitRememberedOuterSize() {
    // The frame is known only once the window is on screen: keep the outer size it was given.
    const QSize extra = FrameExtra();
    const int width = width_.pixels >= 0 ? TwipsToPixels(width_.twips) : frameGeometry().width();
    const int height = height_.pixels >= 0 ? TwipsToPixels(height_.twips) : frameGeometry().height();
    reportedSize_ = QSize(std::max(1, width - extra.width()), std::max(1, height - extra.height()));
    resize(reportedSize_);
    if (width_.pixels >= 0) {
        width_.pixels = frameGeometry().width();
    }
    if (height_.pixels >= 0) {
        height_.pixels = frameGeometry().height();
    }
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
        Form_GotFocus();
    } else {
        Form_LostFocus();
        Form_Deactivate();
    }
}

} // namespace quorix
