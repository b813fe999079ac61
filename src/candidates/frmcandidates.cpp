#include "candidates/frmcandidates.h"

#include <QAbstractTableModel>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <array>
#include <span>
#include <utility>

namespace quorix {

namespace {

enum Column { kPeriod, kFT, kFalseAlarm, kRefinedPeriod, kFamily, kTypeAgreement, kGrid, kColumnCount };

constexpr std::array<const char*, kColumnCount> kHeaders{
    "Period", "FT", "False-alarm probability", "Refined period", "Family", "Type agreement", "Grid"};

QString CellText(const Candidate& dip, int column) {
    switch (column) {
    case kPeriod:
        return QString::number(dip.period, 'f', 7);
    case kFT:
        return QString::number(dip.ft, 'f', 6);
    case kFalseAlarm:
        return QString::number(dip.falseAlarm, 'g', 2);
    case kRefinedPeriod:
        return QString::number(dip.refinedPeriod, 'f', 9);
    case kFamily:
        return QString::fromStdString(dip.family);
    case kTypeAgreement:
        return dip.typeAgreement ? QString::number(*dip.typeAgreement, 'f', 2) : QString("-");
    case kGrid:
        return dip.gridTooCoarse ? QString("too coarse") : QString();
    default:
        return {};
    }
}

QString PickText(const CandidatePick& pick) {
    const QString period =
        pick.period ? QString("Pick: %1 d.").arg(*pick.period, 0, 'f', 9) : QString("Pick: none.");
    return period + " " + QString::fromStdString(pick.reason);
}

CandidateSource SourceOf(const SharedState& state) {
    const auto count = static_cast<std::size_t>(state.ObsCount);
    const auto times = std::span(state.ObsTimes).subspan(1, count);
    const auto types = std::span(state.ObsTypes).subspan(1, count);
    return {.times = {times.begin(), times.end()},
            .types = {types.begin(), types.end()},
            .omegaLow = state.OmegaLow,
            .omegaStep = state.OmegaStep,
            .bestOmega = state.BestOmega,
            .steps = state.CompletedStepCount,
            .computed = state.FTComputed != kFalse};
}

CandidateList ListCandidatesOf(const CandidateSource& source, const SharedState& state) {
    CandidateSearch search;
    search.times = source.times;
    search.types = source.types;
    search.omegaLow = source.omegaLow;
    search.omegaStep = source.omegaStep;
    search.steps = source.steps;
    search.ftValues = std::span(state.FTValues).first(static_cast<std::size_t>(source.steps) + 1);
    return ListCandidates(search);
}

} // namespace

// The listed dips, one row each, as read-only text.
class CandidateTableModel : public QAbstractTableModel {
public:
    explicit CandidateTableModel(QObject* parent) : QAbstractTableModel(parent) {}

    void SetDips(std::vector<Candidate> dips) {
        beginResetModel();
        dips_ = std::move(dips);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(dips_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kColumnCount; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) {
            return {};
        }
        if (role == Qt::TextAlignmentRole) {
            const bool words = index.column() == kFamily || index.column() == kGrid;
            return QVariant::fromValue(Qt::AlignVCenter | (words ? Qt::AlignLeft : Qt::AlignRight));
        }
        if (role != Qt::DisplayRole) {
            return {};
        }
        return CellText(dips_[static_cast<std::size_t>(index.row())], index.column());
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) {
            return {};
        }
        if (orientation == Qt::Vertical) {
            return section + 1;
        }
        return section >= 0 && section < kColumnCount ? QString(kHeaders[static_cast<std::size_t>(section)])
                                                      : QVariant();
    }

private:
    std::vector<Candidate> dips_;
};

frmCandidates::frmCandidates(SharedState& state, std::function<void()> drawOCDiagram)
    : state_(state), drawOCDiagram_(std::move(drawOCDiagram)), model_(new CandidateTableModel(this)) {
    setWindowTitle("Candidates");
    BuildLayout();
}

void frmCandidates::BuildLayout() {
    table = new QTableView(this);
    table->setModel(model_);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setMinimumSize(760, 180);
    table->installEventFilter(this);
    connect(table, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { UseRow(index.row()); });

    coarseLabel = new QLabel(
        "The grid is too coarse for these dips: a dip may fall between its points. Use more steps or a "
        "narrower range.",
        this);
    coarseLabel->setWordWrap(true);
    pickLabel = new QLabel(this);
    pickLabel->setWordWrap(true);
    pickLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    closeButton = new QPushButton("Close", this);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Double-click a row (or press Enter) to see its O-C diagram.", this));
    layout->addWidget(table, 1);
    layout->addWidget(coarseLabel);
    layout->addWidget(pickLabel);
    layout->addLayout(buttons);
}

void frmCandidates::Refresh() {
    source_ = SourceOf(state_);
    list_ = source_.computed ? ListCandidatesOf(source_, state_) : CandidateList{};
    model_->SetDips(list_.dips);
    table->resizeColumnsToContents();
    coarseLabel->setVisible(list_.gridTooCoarse);
    pickLabel->setText(source_.computed ? PickText(list_.pick) : QString(kComputeFirstMessage));
    setWindowTitle(QString("Candidates - %1").arg(QString::fromStdString(state_.DataFileName)));
    if (!list_.dips.empty()) {
        table->selectRow(0);
    }
    table->setFocus();
}

bool frmCandidates::Stale() const {
    return SourceOf(state_) != source_;
}

void frmCandidates::UseRow(int row) {
    if (Stale()) {
        Refresh();
        return;
    }
    if (row < 0 || row >= static_cast<int>(list_.dips.size())) {
        return;
    }
    // The refined period, not the grid point: its O-C diagram is the one the dip really means.
    state_.TrialPeriod = list_.dips[static_cast<std::size_t>(row)].refinedPeriod;
    drawOCDiagram_();
}

bool frmCandidates::event(QEvent* event) {
    // Coming back to the dialog after a new search or a new file shows that search's table.
    if (event->type() == QEvent::WindowActivate && Stale()) {
        Refresh();
    }
    return QDialog::event(event);
}

bool frmCandidates::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            UseRow(table->currentIndex().row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quorix
