#pragma once

#include "platform/printer.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QSpinBox;

namespace quorix {

// The run-time error a print dialog raises when the user cancels it and cancelling is an error.
inline constexpr int kErrCancel = 32755;

// While one exists, dialogs about `Subject` are answered by it instead of being shown, so tests
// never block: the answer gets what the user would edit, may change it as the user would, and
// returns true for a confirmed dialog, false for a cancelled one.
template <class Subject> class DialogResponder {
public:
    explicit DialogResponder(std::function<bool(Subject&)> answer)
        : answer_(std::move(answer)), previous_(active_) {
        active_ = this;
    }
    ~DialogResponder() { active_ = previous_; }
    DialogResponder(const DialogResponder&) = delete;
    DialogResponder& operator=(const DialogResponder&) = delete;

    [[nodiscard]] static DialogResponder* Active() { return active_; }
    bool Answer(Subject& subject) {
        ++shown_;
        return answer_(subject);
    }
    // How many dialogs it has answered.
    [[nodiscard]] int Shown() const { return shown_; }

private:
    std::function<bool(Subject&)> answer_;
    DialogResponder* previous_;
    int shown_ = 0;
    inline static DialogResponder* active_ = nullptr;
};

// Runs `dialog` modally, or lets the active responder answer for `subject`; true when confirmed.
template <class Subject> [[nodiscard]] bool RunModal(QDialog& dialog, Subject& subject) {
    if (auto* responder = DialogResponder<Subject>::Active()) {
        return responder->Answer(subject);
    }
    return dialog.exec() == QDialog::Accepted;
}

// The window of the printer-setup dialog as the user works it: the printer, the file the file
// printer writes, and the seven settings, each list holding the codes of its entries as item data.
class PrinterSetupWindow : public QDialog {
    Q_OBJECT
public:
    explicit PrinterSetupWindow(QWidget* owner);

    // Selects the entry of `code`, adding one for a code the list does not name, so that a value
    // nobody changed comes back unchanged.
    static void SelectCode(QComboBox& box, int code);
    [[nodiscard]] static std::int16_t CodeOf(const QComboBox& box);
    // Whether the printer chosen is the file printer.
    [[nodiscard]] bool FileChosen() const;

    QComboBox* printerBox;
    QLabel* driverLabel;
    QLabel* portLabel;
    QLineEdit* fileEdit;
    QPushButton* browseButton;
    QSpinBox* copiesBox;
    QComboBox* orientationBox;
    QComboBox* colourBox;
    QComboBox* duplexBox;
    QComboBox* paperBinBox;
    QComboBox* paperSizeBox;
    QComboBox* qualityBox;
    QDialogButtonBox* buttons;

private:
    // Shows what the chosen printer offers: its driver and port, its paper sizes and resolutions.
    void PrinterChosen();
    void BrowseForFile();
};

// The printer-setup component of the plot windows. The caller fills the printer's name, driver,
// port, paper bin and option flags, shows it, and after a confirmation reads the printer name and
// the seven settings back. The settings are a printer's own seven, starting from a fresh printer's
// values. The flags are the print dialog's set (4 no selection, 8 no page range, 256 return a
// device context); this dialog offers neither a selection nor a page range.
class PrinterSetupDialog : public PrinterSettings {
public:
    std::string PrinterName;
    std::string DriverName;
    std::string Port;
    std::int32_t Flags = 0;

    // Shows the dialog owned by `owner`; true when the user confirmed. A file chosen for the file
    // printer becomes the file that printer writes.
    [[nodiscard]] bool Show(QWidget* owner);
};

// The platform's standard print dialog over the application printer, as the list window uses it.
class PrintDialog {
public:
    // When set, cancelling the dialog is the error kErrCancel.
    bool CancelError = false;

    // Shows the print dialog; 0, or kErrCancel for a cancel while CancelError is set. A confirmed
    // choice of printer, file, paper and quality goes to the application printer at once; the
    // number of copies and the orientation are only read back.
    [[nodiscard]] int ShowPrinter(QWidget* owner);
    [[nodiscard]] std::int16_t Copies() const { return copies_; }
    [[nodiscard]] std::int16_t Orientation() const { return orientation_; }

private:
    std::int16_t copies_ = 1;
    std::int16_t orientation_ = 0;
};

} // namespace quorix
