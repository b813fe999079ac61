#include "cli/searchentries.h"

#include "search/periodsearch.h"
#include "state/numbertext.h"

namespace quorix::cli {

namespace {

constexpr std::int32_t kFewestSteps = 1000;

// The main window's entries as the desktop search reads them, with a steps entry it always takes,
// so that only its period checks speak.
class EntryWindow : public SearchWindow {
public:
    EntryWindow(const std::string& minimum, const std::string& maximum)
        : minimum_(minimum), maximum_(maximum) {}
    std::string MinimumPeriodText() const override { return minimum_; }
    std::string MaximumPeriodText() const override { return maximum_; }
    std::string StepCountText() const override { return "1000"; }
    void SetSearchButtonsEnabled(bool) override {}
    void SetBestPeriodText(const std::string&) override {}
    void ShowMessage(const std::string& text) override { message = text; }

    std::string message;

private:
    std::string minimum_, maximum_;
};

} // namespace

EntryCheck CheckSearchEntries(const std::string& minimumText, const std::string& maximumText,
                              const std::string& stepsText) {
    // A state without observations: the desktop search checks its entries and stops there.
    SharedState state;
    EntryWindow window(minimumText, maximumText);
    RunPeriodSearch(state, window);
    if (!window.message.empty()) {
        return {std::nullopt, window.message};
    }
    const auto steps = RoundToInt32(ReadLeadingNumber(stepsText));
    if (!steps || *steps < kFewestSteps || *steps > kMostCliSteps) {
        return {std::nullopt, "Number of steps must be between 1000 and 100000000, inclusive."};
    }
    return {SearchEntries{state.TwoPi, state.PeriodMin, state.PeriodMax, *steps}, {}};
}

} // namespace quorix::cli
