#include "ocdiagram/frmephemeris.h"

#include "state/sharedstate.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace quorix {

frmEphemeris::frmEphemeris(QWidget* parent)
    : QDialog(parent), heading_(new QLabel(this)), table_(new QTableWidget(this)), verdict_(new QLabel(this)),
      notes_(new QLabel(this)) {
    setWindowTitle("Ephemeris");
    setAttribute(Qt::WA_DeleteOnClose);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    verdict_->setWordWrap(true);
    verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notes_->setWordWrap(true);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    copy_ = buttons->addButton("&Copy", QDialogButtonBox::ActionRole);
    connect(copy_, &QPushButton::clicked, this, &frmEphemeris::Copy_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(table_, 1);
    layout->addWidget(verdict_);
    layout->addWidget(notes_);
    layout->addWidget(buttons);
}

void frmEphemeris::ShowFits(const EphemerisInput& input) {
    report_ = FitEphemeris(input);
    heading_->setText(
        QString("Trial period %1 d, %2 minima").arg(report_.trialPeriod, 0, 'g', 10).arg(input.times.size()));
    FillTable();
    verdict_->setText(QString::fromStdString(report_.comparison.sentence));
    QStringList notes;
    for (const std::string& note : report_.notes) {
        notes << QString::fromStdString(note);
    }
    notes_->setText(notes.join('\n'));
    notes_->setVisible(!notes.isEmpty());
    // Sized once every text is in, so the wrapped sentence and notes get their lines.
    adjustSize();
}

void frmEphemeris::FillTable() {
    const auto rows = EphemerisTable(report_);
    const int columns = static_cast<int>(rows[0].size()) - 1;
    table_->clear();
    table_->setRowCount(static_cast<int>(rows.size()) - 1);
    table_->setColumnCount(columns);
    for (int column = 0; column < columns; ++column) {
        table_->setHorizontalHeaderItem(column,
                                        new QTableWidgetItem(QString::fromStdString(rows[0][column + 1])));
    }
    for (int row = 1; row < static_cast<int>(rows.size()); ++row) {
        table_->setVerticalHeaderItem(row - 1, new QTableWidgetItem(QString::fromStdString(rows[row][0])));
        for (int column = 0; column < columns; ++column) {
            auto* item = new QTableWidgetItem(QString::fromStdString(rows[row][column + 1]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row - 1, column, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    table_->setCurrentCell(-1, -1);
    // The whole table in view: the window grows to it, the scroll bars are for the odd huge number.
    const int frame = 2 * table_->frameWidth();
    int width = table_->verticalHeader()->sizeHint().width() + frame;
    for (int column = 0; column < columns; ++column) {
        width += table_->columnWidth(column);
    }
    int height = table_->horizontalHeader()->sizeHint().height() + frame;
    for (int row = 0; row < table_->rowCount(); ++row) {
        height += table_->rowHeight(row);
    }
    table_->setMinimumSize(width, height);
}

void frmEphemeris::Copy_Click() {
    QApplication::clipboard()->setText(QString::fromStdString(EphemerisTableTsv(report_)));
}

EphemerisInput EphemerisInputFor(const SharedState& state) {
    EphemerisInput input;
    const int count = std::clamp<int>(state.ObsCount, 0, kMaxObservations);
    input.times.assign(state.ObsTimes.begin() + 1, state.ObsTimes.begin() + 1 + count);
    input.period = state.TrialPeriod;
    input.origin = state.BaseTime;
    // Types and timing errors only when the data gave some: an imported table may, a plain file never.
    const auto first = std::next(state.ObsTypes.begin()), last = first + count;
    if (std::any_of(first, last, [](MinimumType type) { return type != MinimumType::kUnknown; })) {
        input.types.assign(first, last);
    }
    const auto firstError = std::next(state.ObsErrors.begin()), lastError = firstError + count;
    if (std::any_of(firstError, lastError, [](double error) { return error != 0; })) {
        input.errors.assign(firstError, lastError);
    }
    return input;
}

frmEphemeris& ShowEphemerisWindow(QWidget& owner, const EphemerisInput& input) {
    auto* window = owner.findChild<frmEphemeris*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new frmEphemeris(&owner);
    }
    window->ShowFits(input);
    window->show();
    window->raise();
    window->activateWindow();
    return *window;
}

} // namespace quorix
