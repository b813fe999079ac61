#include "search/searchentries.h"

#include "state/numbertext.h"

#include <limits>

namespace quorix {

namespace {

bool PeriodInRange(double period) {
    return !(period < kShortestPeriod || period > kLongestPeriod);
}

std::string StepsMessage(std::int32_t mostSteps) {
    return "Number of steps must be between " + std::to_string(kFewestSteps) + " and " +
           std::to_string(mostSteps) + ", inclusive.";
}

} // namespace

EntryCheck CheckSearchEntries(const SearchEntryTexts& texts, std::int32_t mostSteps) {
    EntryCheck check;
    const double periodMin = *(check.periodMin = ReadLeadingNumber(texts.minimum));
    if (!PeriodInRange(periodMin)) {
        check.message = "Minimum period must be between 0.05 and 100 days.";
        return check;
    }
    const double periodMax = *(check.periodMax = ReadLeadingNumber(texts.maximum));
    if (!PeriodInRange(periodMax)) {
        check.message = "Maximum period must be between 0.05 and 100 days.";
        return check;
    }
    // Periods a few units of the last place apart can still give one and the same frequency, and a
    // grid without width has nothing to search and nothing to draw.
    if (!(periodMin < periodMax) || !(kSearchTwoPi / periodMax < kSearchTwoPi / periodMin)) {
        check.message = "Minimum period must be less than the maximum period.";
        return check;
    }
    const double entry = ReadLeadingNumber(texts.steps);
    const auto steps = RoundToInt32(entry);
    // An entry beyond the 32-bit range is kept as the nearest value the field can hold.
    check.steps = steps.value_or(entry > 0 ? std::numeric_limits<std::int32_t>::max()
                                           : std::numeric_limits<std::int32_t>::min());
    if (!steps || *steps < kFewestSteps || *steps > mostSteps) {
        check.message = StepsMessage(mostSteps);
        return check;
    }
    check.entries = SearchEntries{kSearchTwoPi, periodMin, periodMax, *steps};
    return check;
}

double OmegaHigh(const SearchEntries& entries) {
    return entries.twoPi / entries.periodMin;
}

FTGrid MakeGrid(std::span<const double> times, double baseTime, const SearchEntries& entries) {
    FTGrid grid;
    grid.times = times;
    grid.baseTime = baseTime;
    grid.omegaLow = entries.twoPi / entries.periodMax;
    grid.omegaStep = (OmegaHigh(entries) - grid.omegaLow) / entries.steps;
    grid.steps = entries.steps;
    return grid;
}

} // namespace quorix
