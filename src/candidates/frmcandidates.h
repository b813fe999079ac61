#pragma once

#include "candidates/candidates.h"
#include "state/sharedstate.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTableView;

namespace quorix {

class CandidateTableModel;

// Shown instead of a table while no search has completed for the loaded data.
inline constexpr const char* kComputeFirstMessage =
    "Press Compute first: the candidates come from the last search.";

// What a candidate table is computed from. A table whose data or search has changed since is stale
// and is computed anew before anything is done with its rows.
struct CandidateSource {
    std::vector<double> times;
    std::vector<MinimumType> types;
    double omegaLow = 0.0;
    double omegaStep = 0.0;
    double bestOmega = 0.0;
    std::int32_t steps = 0;
    bool computed = false;
    friend bool operator==(const CandidateSource&, const CandidateSource&) = default;
};

// The deepest dips of the last search with their significance, refinement, family and type agreement,
// and the period the minimum types pick. A double click (or Enter) on a row makes its period the
// trial period and brings up its O-C diagram, as a left click on the FT plot does.
class frmCandidates : public QDialog {
    Q_OBJECT
public:
    // `drawOCDiagram` computes and draws the O-C diagram of the TrialPeriod just set.
    frmCandidates(SharedState& state, std::function<void()> drawOCDiagram);

    // Computes the table from the shared state as it is now.
    void Refresh();
    // The row's period becomes the trial period and its O-C diagram is drawn; a stale table is
    // computed anew instead, since the row no longer means what the user saw.
    void UseRow(int row);

    [[nodiscard]] const CandidateList& Candidates() const { return list_; }

    QTableView* table = nullptr;
    QLabel* coarseLabel = nullptr;
    QLabel* pickLabel = nullptr;
    QPushButton* closeButton = nullptr;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    [[nodiscard]] bool Stale() const;

    SharedState& state_;
    std::function<void()> drawOCDiagram_;
    CandidateTableModel* model_;
    CandidateSource source_;
    CandidateList list_;
};

} // namespace quorix
