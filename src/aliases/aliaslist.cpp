#include "aliases/aliaslist.h"

#include "ftplot/ftrender.h"
#include "state/numbertext.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace quorix {

namespace {

constexpr std::size_t kTypeTextLength = 5;
constexpr int kHalfDaySteps = 10;
constexpr int kHeaderLines = 6;
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

void AppendAlias(SharedState& state, double period, std::string typeText) {
    if (state.AliasBuildCount >= kMaxAliases) {
        return;
    }
    ++state.AliasBuildCount;
    AliasEntry& entry = state.AliasPeriods[state.AliasBuildCount];
    entry.Period = static_cast<float>(period);
    entry.TypeText = FitTypeText(std::move(typeText));
}

// The period of an angular frequency, or 0 for a frequency that has none (no search yet).
double PeriodOf(const SharedState& state, double omega) {
    return omega > 0.0 && std::isfinite(omega) ? state.TwoPi / omega : 0.0;
}

// The frequency 1/P shifted by k/2 cycles per day, for k = -10..10 without 0, where it falls
// strictly inside the searched frequency range.
void AddHalfDayAliases(SharedState& state) {
    const double trialOmega = state.TwoPi / state.AliasBasePeriod;
    for (int k = -kHalfDaySteps; k <= kHalfDaySteps; ++k) {
        const double omega = trialOmega + k * state.Pi;
        if (k == 0 || !(omega > 0.0 && state.OmegaLow < omega && omega < state.OmegaHigh)) {
            continue;
        }
        const std::string shift = FormatPattern(k / 2.0, "0.0");
        AppendAlias(state, state.TwoPi / omega, k > 0 ? "+" + shift : shift);
    }
}

void BuildAliasLines(SharedState& state) {
    state.AliasLineCount = static_cast<std::int16_t>(state.AliasCount + kHeaderLines);
    state.AliasLines[1] = " For Trial Period = " + FormatPattern(state.TrialPeriod, "0.000000");
    state.AliasLines[2] = " Alias periods are indicated first, followed by (type).";
    state.AliasLines[3] = " To determine the type in brackets:";
    state.AliasLines[4] = " Fourier half-day alias periods are +/- half integers.";
    state.AliasLines[5] = " Simple fractional multiples, by decimal fraction.";
    state.AliasLines[6] = "";
    for (int j = 1; j <= state.AliasCount; ++j) {
        const AliasEntry& entry = state.AliasPeriods[j];
        state.AliasLines[kHeaderLines + j] =
            "  " + FormatPattern(entry.Period, "0.0000000") + "  (" + entry.TypeText + ")";
    }
}

} // namespace

void AddAliasCandidate(SharedState& state, double candidate) {
    if (!(state.AliasRangeLow < candidate && candidate < state.AliasRangeHigh)) {
        return;
    }
    AppendAlias(state, candidate, FormatPattern(candidate / state.AliasBasePeriod, "0.000"));
}

void SortAliasPeriods(SharedState& state) {
    const int count = std::clamp<int>(state.AliasCount, 0, kMaxAliases);
    for (int i = 1; i < count; ++i) {
        float smallest = kSortSentinel;
        int found = i;
        for (int j = i; j <= count; ++j) {
            if (state.AliasPeriods[j].Period < smallest) {
                smallest = state.AliasPeriods[j].Period;
                found = j;
            }
        }
        std::swap(state.AliasPeriods[i], state.AliasPeriods[found]);
    }
}

bool BuildAliasList(SharedState& state) {
    const double trial = state.TrialPeriod;
    if (!(trial > 0.0 && std::isfinite(trial))) {
        return false;
    }
    state.AliasBasePeriod = trial;
    state.AliasRangeLow = PeriodOf(state, state.OmegaHigh);
    state.AliasRangeHigh = PeriodOf(state, state.OmegaLow);
    state.AliasBuildCount = 0;
    AddHalfDayAliases(state);
    for (const Multiple& multiple : kMultiples) {
        AddAliasCandidate(state, multiple.numerator * trial / multiple.denominator);
    }
    state.AliasCount = state.AliasBuildCount;
    SortAliasPeriods(state);
    BuildAliasLines(state);
    return true;
}

bool ListAliasPeriods(SharedState& state, LazyView<AliasListView>& aliasWindow, FTPlotView& plot) {
    if (!BuildAliasList(state)) {
        return false;
    }
    AliasListView& window = aliasWindow.Loaded();
    window.OpenAliasList();
    window.ShowAliasLines();
    DrawAliasMarks(state, plot, state.MarkColour);
    return true;
}

} // namespace quorix
