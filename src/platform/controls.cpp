#include "platform/controls.h"

#include <QFontMetrics>

#include <vector>

namespace quorix {

void Control::Place(double left, double top, double width, double height) {
    left_.twips = left;
    top_.twips = top;
    width_.twips = width;
    height_.twips = height;
    Apply();
}

void Control::Apply() {
    widget_->setGeometry(TwipsToPixels(left_.twips), TwipsToPixels(top_.twips),
                         std::max(0, TwipsToPixels(width_.twips)), std::max(0, TwipsToPixels(height_.twips)));
    const QRect placed = widget_->geometry();
    left_.pixels = placed.left();
    top_.pixels = placed.top();
    width_.pixels = placed.width();
    height_.pixels = placed.height();
    Relayout();
}

double Control::Report(const Remembered& remembered, int pixels) {
    return remembered.pixels == pixels ? remembered.twips : PixelsToTwips(pixels);
}

double Control::Left() const {
    return Report(left_, widget_->geometry().left());
}
double Control::Top() const {
    return Report(top_, widget_->geometry().top());
}
double Control::Width() const {
    return Report(width_, widget_->geometry().width());
}
double Control::Height() const {
    return Report(height_, widget_->geometry().height());
}

void Control::SetBackColor(Colour colour) {
    QPalette palette = widget_->palette();
    palette.setColor(widget_->backgroundRole(), ToQColor(colour));
    widget_->setPalette(palette);
    widget_->setAutoFillBackground(true);
}

void Control::SetForeColor(Colour colour) {
    QPalette palette = widget_->palette();
    palette.setColor(widget_->foregroundRole(), ToQColor(colour));
    widget_->setPalette(palette);
}

Label::Label(QWidget* parent) : Control(new QLabel(parent)), label_(static_cast<QLabel*>(Widget())) {
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Label::SetAlignment(TextAlign align) {
    label_->setAlignment((ToQAlignment(align) & Qt::AlignHorizontal_Mask) | Qt::AlignTop);
}

TextBox::TextBox(QWidget* parent)
    : Control(new QLineEdit(parent)), edit_(static_cast<QLineEdit*>(Widget())) {}

void TextBox::SetAlignment(TextAlign align) {
    edit_->setAlignment(ToQAlignment(align));
}

CommandButton::CommandButton(QWidget* parent)
    : Control(new QPushButton(parent)), button_(static_cast<QPushButton*>(Widget())) {
    button_->setAutoDefault(false);
}

void CommandButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    Relayout();
}

void CommandButton::Relayout() {
    const QFontMetrics metrics(button_->font());
    const int room = button_->width() - 8;
    QString wrapped;
    QString line;
    for (const QString& word : ToQString(caption_).split(' ')) {
        const QString longer = line.isEmpty() ? word : line + ' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > room) {
            wrapped += line + '\n';
            line = word;
        } else {
            line = longer;
        }
    }
    button_->setText(wrapped + line);
}

void CommandButton::OnClick(std::function<void()> handler) {
    QObject::connect(button_, &QPushButton::clicked, button_, [handler = std::move(handler)] { handler(); });
}

ComboBox::ComboBox(QWidget* parent)
    : Control(new QComboBox(parent)), combo_(static_cast<QComboBox*>(Widget())) {
    QObject::connect(combo_, &QComboBox::activated, combo_, [this](int) {
        if (onClick_) {
            onClick_();
        }
    });
}

void ComboBox::SetListIndex(int index) {
    combo_->setCurrentIndex(index);
    if (onClick_) {
        onClick_();
    }
}

void SetTabOrder(std::initializer_list<const Control*> controls) {
    const Control* previous = nullptr;
    for (const Control* control : controls) {
        control->Widget()->setFocusPolicy(Qt::StrongFocus);
        if (previous != nullptr) {
            QWidget::setTabOrder(previous->Widget(), control->Widget());
        }
        previous = control;
    }
}

} // namespace quorix
