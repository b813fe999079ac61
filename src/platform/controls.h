#pragma once

#include "base/colour.h"
#include "platform/twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <string>

namespace quorix {

// What every control has: a place in twips on its window's drawing surface, enabled and visible
// states, a font and colours. The twips last given are reported back while the pixels stand.
class Control {
public:
    explicit Control(QWidget* widget) : widget_(widget) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    void Place(double left, double top, double width, double height);
    void SetLeft(double twips) { Place(twips, top_.twips, width_.twips, height_.twips); }
    void SetTop(double twips) { Place(left_.twips, twips, width_.twips, height_.twips); }
    void SetWidth(double twips) { Place(left_.twips, top_.twips, twips, height_.twips); }
    void SetHeight(double twips) { Place(left_.twips, top_.twips, width_.twips, twips); }
    [[nodiscard]] double Left() const;
    [[nodiscard]] double Top() const;
    [[nodiscard]] double Width() const;
    [[nodiscard]] double Height() const;

    void SetEnabled(bool enabled) { widget_->setEnabled(enabled); }
    [[nodiscard]] bool Enabled() const { return widget_->isEnabled(); }
    void SetVisible(bool visible) { widget_->setVisible(visible); }
    [[nodiscard]] bool Visible() const { return !widget_->isHidden(); }
    void SetFont(const FontStyle& font) {
        widget_->setFont(ToQFont(font));
        Relayout();
    }
    void SetBackColor(Colour colour);
    void SetForeColor(Colour colour);
    [[nodiscard]] QWidget* Widget() const { return widget_; }
    // The text the control shows: a caption, or a text box's text.
    virtual void SetDisplayText(const std::string& text) = 0;
    [[nodiscard]] virtual std::string DisplayText() const = 0;

protected:
    // Runs after the control's size or font changed, for controls that lay out their text.
    virtual void Relayout() {}

private:
    struct Remembered {
        double twips = 0.0;
        int pixels = -1;
    };
    void Apply();
    [[nodiscard]] static double Report(const Remembered& remembered, int pixels);

    QWidget* widget_;
    Remembered left_, top_, width_, height_;
};

class Label : public Control {
public:
    explicit Label(QWidget* parent);
    void SetCaption(const std::string& caption) { label_->setText(ToQString(caption)); }
    [[nodiscard]] std::string Caption() const { return label_->text().toStdString(); }
    void SetAlignment(TextAlign align);
    void SetWordWrap(bool wrap) { label_->setWordWrap(wrap); }
    void SetDisplayText(const std::string& text) override { SetCaption(text); }
    std::string DisplayText() const override { return Caption(); }

private:
    QLabel* label_;
};

class TextBox : public Control {
public:
    explicit TextBox(QWidget* parent);
    void SetText(const std::string& text) { edit_->setText(ToQString(text)); }
    [[nodiscard]] std::string Text() const { return edit_->text().toStdString(); }
    void SetAlignment(TextAlign align);
    [[nodiscard]] QLineEdit* Edit() const { return edit_; }
    void SetDisplayText(const std::string& text) override { SetText(text); }
    std::string DisplayText() const override { return Text(); }

private:
    QLineEdit* edit_;
};

class CommandButton : public Control {
public:
    explicit CommandButton(QWidget* parent);
    // The caption wraps onto further lines when it is wider than the button.
    void SetCaption(const std::string& caption);
    [[nodiscard]] std::string Caption() const { return caption_; }
    // The handler run on every click.
    void OnClick(std::function<void()> handler);
    [[nodiscard]] QPushButton* Button() const { return button_; }
    void SetDisplayText(const std::string& text) override { SetCaption(text); }
    std::string DisplayText() const override { return Caption(); }

protected:
    void Relayout() override;

private:
    QPushButton* button_;
    std::string caption_;
};

class ComboBox : public Control {
public:
    explicit ComboBox(QWidget* parent);
    void AddItem(const std::string& item) { combo_->addItem(ToQString(item)); }
    // Selecting an entry, by the user or by code, runs the click handler, as choosing one does.
    void SetListIndex(int index);
    [[nodiscard]] int ListIndex() const { return combo_->currentIndex(); }
    [[nodiscard]] int ListCount() const { return combo_->count(); }
    [[nodiscard]] std::string Item(int index) const { return combo_->itemText(index).toStdString(); }
    void SetText(const std::string& text) { combo_->setEditText(ToQString(text)); }
    [[nodiscard]] std::string Text() const { return combo_->currentText().toStdString(); }
    void OnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
    [[nodiscard]] QComboBox* Combo() const { return combo_; }
    void SetDisplayText(const std::string& text) override { SetText(text); }
    std::string DisplayText() const override { return Text(); }

private:
    QComboBox* combo_;
    std::function<void()> onClick_;
};

// Sets the keyboard order of the given controls, first to last.
void SetTabOrder(std::initializer_list<const Control*> controls);

} // namespace quorix
