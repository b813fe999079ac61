#include "aliases/aliaslist.h"

#include "state/numbertext.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quorix {

namespace {

constexpr std::size_t kTypeTextLength = 5;
constexpr int kHalfDaySteps = 10;
constexpr float kSortSentinel = 999999.0f;

// A fractional multiple m·P/d of the base period.
struct Multiple {
    int numerator;
    int denominator;
};

// Each multiple followed by its reciprocal, in the order they are tried.
constexpr std::array<Multiple, 30> kMultiples{{
    {1, 5},  {5, 1},  {1, 4},  {4, 1},  {1, 3},  {3, 1},  {1, 2}, {2, 1}, {2, 7}, {7, 2},
    {2, 5},  {5, 2},  {2, 3},  {3, 2},  {3, 11}, {11, 3}, {3, 7}, {7, 3}, {3, 5}, {5, 3},
    {5, 13}, {13, 5}, {5, 11}, {11, 5}, {5, 9},  {9, 5},  {5, 7}, {7, 5}, {7, 9}, {9, 7},
}};

// The type texts line up in the list: always five characters.
std::string FitTypeText(std::string text) {
    text.resize(kTypeTextLength, ' ');
    return text;
}

void AppendAlias(AliasList& list, double period, std::string typeText) {
    if (list.entries.size() >= static_cast<std::size_t>(kMaxAliases)) {
        return;
    }
    list.entries.push_back({static_cast<float>(period), FitTypeText(std::move(typeText))});
}

// The period of an angular frequency, or 0 for a frequency that has none (no search yet).
double PeriodOf(double twoPi, double omega) {
    return omega > 0.0 && std::isfinite(omega) ? twoPi / omega : 0.0;
}

// The frequency 1/P shifted by k/2 cycles per day, for k = -10..10 without 0, where it falls
// strictly inside the searched frequency range.
void AddHalfDayAliases(AliasList& list, const AliasRange& range) {
    const double pi = range.twoPi / 2;
    const double trialOmega = range.twoPi / list.basePeriod;
    for (int k = -kHalfDaySteps; k <= kHalfDaySteps; ++k) {
        const double omega = trialOmega + k * pi;
        if (k == 0 || !(omega > 0.0 && range.omegaLow < omega && omega < range.omegaHigh)) {
            continue;
        }
        const std::string shift = FormatPattern(k / 2.0, "0.0");
        AppendAlias(list, range.twoPi / omega, k > 0 ? "+" + shift : shift);
    }
}

// A fractional multiple of the base period, when it lies strictly inside the range; its type text is
// the ratio to the base period.
void AddMultiple(AliasList& list, double candidate) {
    if (!(list.rangeLow < candidate && candidate < list.rangeHigh)) {
        return;
    }
    AppendAlias(list, candidate, FormatPattern(candidate / list.basePeriod, "0.000"));
}

// A selection sort that swaps even when the smallest is already in place.
void SortByPeriod(std::vector<AliasEntry>& entries) {
    const std::size_t count = entries.size();
    for (std::size_t i = 0; i + 1 < count; ++i) {
        float smallest = kSortSentinel;
        std::size_t found = i;
        for (std::size_t j = i; j < count; ++j) {
            if (entries[j].Period < smallest) {
                smallest = entries[j].Period;
                found = j;
            }
        }
        std::swap(entries[i], entries[found]);
    }
}

std::vector<std::string> AliasLines(const AliasList& list) {
    std::vector<std::string> lines = {
        " For Trial Period = " + FormatPattern(list.basePeriod, "0.000000"),
        " Alias periods are indicated first, followed by (type).",
        " To determine the type in brackets:",
        " Fourier half-day alias periods are +/- half integers.",
        " Simple fractional multiples, by decimal fraction.",
        "",
    };
    for (const AliasEntry& entry : list.entries) {
        lines.push_back("  " + FormatPattern(entry.Period, "0.0000000") + "  (" + entry.TypeText + ")");
    }
    return lines;
}

} // namespace

std::optional<AliasList> BuildAliasList(double period, const AliasRange& range) {
    if (!(period > 0.0 && std::isfinite(period))) {
        return std::nullopt;
    }
    AliasList list;
    list.basePeriod = period;
    list.rangeLow = PeriodOf(range.twoPi, range.omegaHigh);
    list.rangeHigh = PeriodOf(range.twoPi, range.omegaLow);
    AddHalfDayAliases(list, range);
    for (const Multiple& multiple : kMultiples) {
        AddMultiple(list, multiple.numerator * period / multiple.denominator);
    }
    SortByPeriod(list.entries);
    list.lines = AliasLines(list);
    return list;
}

bool BuildAliasList(SharedState& state) {
    const auto list = BuildAliasList(state.TrialPeriod, {state.TwoPi, state.OmegaLow, state.OmegaHigh});
    if (!list) {
        return false;
    }
    state.AliasBasePeriod = list->basePeriod;
    state.AliasRangeLow = list->rangeLow;
    state.AliasRangeHigh = list->rangeHigh;
    state.AliasBuildCount = state.AliasCount = static_cast<std::int16_t>(list->entries.size());
    std::copy(list->entries.begin(), list->entries.end(), state.AliasPeriods.begin() + 1);
    state.AliasLineCount = static_cast<std::int16_t>(list->lines.size());
    std::copy(list->lines.begin(), list->lines.end(), state.AliasLines.begin() + 1);
    return true;
}

} // namespace quorix
