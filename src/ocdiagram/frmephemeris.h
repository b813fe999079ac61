#pragma once

#include "ocdiagram/ephemerisfit.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace quorix {

struct SharedState;

// The ephemeris window: the linear and quadratic fits of the O-C values for the trial period, the
// verdict on the quadratic term, and "Copy" to take the table to a spreadsheet.
class frmEphemeris : public QDialog {
    Q_OBJECT
public:
    explicit frmEphemeris(QWidget* parent = nullptr);

    // Counts the cycles of `input`, fits them and shows the result.
    void ShowFits(const EphemerisInput& input);
    // Puts the table on the clipboard as tab-separated text.
    void Copy_Click();

    [[nodiscard]] const EphemerisReport& Report() const { return report_; }
    [[nodiscard]] QTableWidget* Table() const { return table_; }
    [[nodiscard]] QLabel* Verdict() const { return verdict_; }
    [[nodiscard]] QLabel* Notes() const { return notes_; }
    [[nodiscard]] QPushButton* CopyButton() const { return copy_; }

private:
    void FillTable();

    EphemerisReport report_;
    QLabel* heading_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* verdict_ = nullptr;
    QLabel* notes_ = nullptr;
    QPushButton* copy_ = nullptr;
};

// The times of minima and the trial period of the O-C diagram, as the fits take them.
[[nodiscard]] EphemerisInput EphemerisInputFor(const SharedState& state);

// Shows the owner's ephemeris window with the fits of `input`, creating it on first use.
frmEphemeris& ShowEphemerisWindow(QWidget& owner, const EphemerisInput& input);

} // namespace quorix
