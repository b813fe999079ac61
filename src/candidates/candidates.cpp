#include "candidates/candidates.h"

#include "candidates/falsealarm.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace quorix {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr int kScanIntervals = 16; // sub-grid points looked at before the golden-section search
constexpr int kGoldenIterations = 100;
constexpr int kWidthBisections = 40;
constexpr int kLargestFactor = 12;      // numerators and denominators of the family's ratios
constexpr int kLargestMultiple = 100;   // of the family's whole multiples and fractions
constexpr int kLargestWindowAlias = 10; // in half cycles per day
constexpr int kLargestYearlyLobe = 3;
// Ground-based minima spread over a few hours of the night leave deep window dips only at 2 and 1 d
// (one and two half cycles per day); further out the spread of the night smears them flat.
constexpr int kDeepestWindowAliases = 2;
constexpr double kDaysPerYear = 365.25;
constexpr int kExaminedPerDip = 50; // grid minima looked at per listed dip: bounds the work on noise
// FT is a mean of sin^2 (omega x t): its window repeats where 2 omega changes by 2 pi per day or
// per year, so aliases lie half a cycle per day apart and yearly side lobes half a cycle per year.
constexpr double kHalfDayStep = std::numbers::pi;
constexpr double kYearlyStep = std::numbers::pi / kDaysPerYear;

// Times taken at night and in seasons make FT dip where 2 omega is one or two cycles per day, with
// yearly side lobes around it, whatever the star does. The number k of half cycles per day of such a
// window dip, or 0 for any other frequency.
int WindowAlias(double omega) {
    const double halfCycles = std::round(omega / kHalfDayStep);
    const bool inWindow =
        std::abs(omega - halfCycles * kHalfDayStep) <= (kLargestYearlyLobe + 0.5) * kYearlyStep;
    return inWindow && halfCycles >= 1 && halfCycles <= kDeepestWindowAliases ? static_cast<int>(halfCycles)
                                                                              : 0;
}

std::string WindowAliasText(int halfCycles) {
    return halfCycles == 1 ? "2-day window alias" : "1-day window alias";
}

// A period that is numerator / denominator times the best dip's.
struct Ratio {
    int numerator = 1;
    int denominator = 1;
};

// The reduced ratios with both terms up to kLargestFactor, and those with one term 1 or 2 and the
// other up to kLargestMultiple (the method's own zeros lie at 2P/m, so the true period is often m/2
// times the deepest dip), the simplest (smallest sum of terms) first.
std::vector<Ratio> FamilyRatios() {
    std::vector<Ratio> ratios;
    for (int numerator = 1; numerator <= kLargestMultiple; ++numerator) {
        for (int denominator = 1; denominator <= kLargestMultiple; ++denominator) {
            const bool simple = (numerator <= kLargestFactor && denominator <= kLargestFactor) ||
                                std::min(numerator, denominator) <= 2;
            if (simple && std::gcd(numerator, denominator) == 1) {
                ratios.push_back({numerator, denominator});
            }
        }
    }
    std::stable_sort(ratios.begin(), ratios.end(), [](Ratio a, Ratio b) {
        return a.numerator + a.denominator < b.numerator + b.denominator;
    });
    return ratios;
}

std::string RatioText(Ratio ratio) {
    std::string text = ratio.numerator == 1 ? "P" : std::to_string(ratio.numerator) + "P";
    return ratio.denominator == 1 ? text : text + "/" + std::to_string(ratio.denominator);
}

struct Dip {
    double omega = 0.0;
    double ft = 0.0;
};

// The observations as the exact formula and the type check need them.
class Probe {
public:
    explicit Probe(const CandidateSearch& search) {
        const auto [lowest, highest] = std::minmax_element(search.times.begin(), search.times.end());
        finite_ =
            std::all_of(search.times.begin(), search.times.end(), [](double t) { return std::isfinite(t); });
        span_ = finite_ ? *highest - *lowest : 0.0;
        const bool typed = search.types.size() == search.times.size();
        double sumSquares = 0.0;
        for (std::size_t k = 0; k < search.times.size(); ++k) {
            const double offset = search.times[k] - *lowest;
            offsets_.push_back(offset);
            sumSquares += offset * offset;
            if (typed && search.types[k] != MinimumType::kUnknown) {
                typed_.push_back({offset, search.types[k] == MinimumType::kSecondary ? 0.5 : 0.0});
            }
        }
        rootMeanSquare_ = std::sqrt(sumSquares / static_cast<double>(offsets_.size()));
        const double mean =
            std::accumulate(offsets_.begin(), offsets_.end(), 0.0) / static_cast<double>(offsets_.size());
        double spread = 0.0;
        for (const double offset : offsets_) {
            spread += (offset - mean) * (offset - mean);
        }
        spread_ = std::sqrt(spread / static_cast<double>(offsets_.size()));
    }

    // Fewer than two distinct finite times: FT is 0 everywhere and says nothing.
    [[nodiscard]] bool Degenerate() const {
        return !finite_ || !(span_ > 0) || !std::isfinite(rootMeanSquare_);
    }
    [[nodiscard]] int Count() const { return static_cast<int>(offsets_.size()); }
    [[nodiscard]] double Span() const { return span_; }
    [[nodiscard]] bool HasTypes() const { return !typed_.empty(); }
    [[nodiscard]] int TypedCount() const { return static_cast<int>(typed_.size()); }

    [[nodiscard]] double FT(double omega) const {
        double sum = 0.0;
        for (const double offset : offsets_) {
            const double s = std::sin(omega * offset);
            sum += s * s;
        }
        return sum / static_cast<double>(offsets_.size());
    }

    // The lowest FT between two angular frequencies: a scan of sub-grid points, then a golden-section
    // search around the lowest of them.
    [[nodiscard]] Dip Refine(double low, double high) const {
        Dip best{low, FT(low)};
        if (!(high > low)) {
            return best;
        }
        const double sub = (high - low) / kScanIntervals;
        for (int k = 1; k <= kScanIntervals; ++k) {
            const double omega = low + sub * k;
            const double value = FT(omega);
            if (value < best.ft) {
                best = {omega, value};
            }
        }
        const Dip golden = GoldenSection(std::max(low, best.omega - sub), std::min(high, best.omega + sub));
        return golden.ft < best.ft ? golden : best;
    }

    // The angular frequency from the dip's bottom to where FT has climbed half way to its mean 1/2,
    // averaged over both sides. 0 when there is no dip to measure (no information in the times, or a
    // bottom above the mean).
    [[nodiscard]] double HalfWidth(Dip dip) const {
        if (Degenerate() || !(dip.ft < 0.5)) {
            return 0.0;
        }
        const double level = dip.ft + 0.5 * (0.5 - dip.ft);
        return 0.5 * (SideWidth(dip.omega, -1, level) + SideWidth(dip.omega, +1, level));
    }

    // The share of typed minima that the period 2 pi / omega puts at whole cycles (primaries) and half
    // cycles (secondaries) of an epoch fitted to them, within the phase drift that a frequency error
    // of the dip's half width makes over the spread of the times.
    [[nodiscard]] std::optional<double> TypeAgreement(double omega, double halfWidth) const {
        if (typed_.empty()) {
            return std::nullopt;
        }
        const double tolerance = std::clamp(halfWidth * spread_ / kTwoPi, 0.02, 0.2);
        std::vector<double> phases;
        double cosines = 0.0;
        double sines = 0.0;
        for (const auto& [offset, shift] : typed_) {
            const double phase = std::remainder(omega * offset / kTwoPi - shift, 1.0);
            phases.push_back(phase);
            cosines += std::cos(kTwoPi * phase);
            sines += std::sin(kTwoPi * phase);
        }
        const double epoch = std::atan2(sines, cosines) / kTwoPi;
        const auto fitting = std::count_if(phases.begin(), phases.end(), [&](double phase) {
            return std::abs(std::remainder(phase - epoch, 1.0)) <= tolerance;
        });
        return static_cast<double>(fitting) / static_cast<double>(phases.size());
    }

private:
    struct TypedOffset {
        double offset;
        double shift; // 0 for a primary, half a cycle for a secondary
    };

    [[nodiscard]] Dip GoldenSection(double low, double high) const {
        const double ratio = (std::sqrt(5.0) - 1) / 2;
        double c = high - ratio * (high - low);
        double d = low + ratio * (high - low);
        double fc = FT(c);
        double fd = FT(d);
        for (int k = 0; k < kGoldenIterations && high - low > 1e-15 * std::abs(high); ++k) {
            if (fc < fd) {
                high = d;
                d = c;
                fd = fc;
                c = high - ratio * (high - low);
                fc = FT(c);
            } else {
                low = c;
                c = d;
                fc = fd;
                d = low + ratio * (high - low);
                fd = FT(d);
            }
        }
        return fc < fd ? Dip{c, fc} : Dip{d, fd};
    }

    // Doubling steps out from the bottom until FT reaches `level`, then bisection; capped far beyond
    // any dip's core (about 1 / rms offset wide).
    [[nodiscard]] double SideWidth(double omega, int direction, double level) const {
        const double cap = 100 / rootMeanSquare_;
        double inside = 0.0;
        double outside = 0.01 / rootMeanSquare_;
        while (FT(omega + direction * outside) < level) {
            if (outside >= cap) {
                return cap;
            }
            inside = outside;
            outside *= 2;
        }
        for (int k = 0; k < kWidthBisections; ++k) {
            const double middle = 0.5 * (inside + outside);
            (FT(omega + direction * middle) < level ? inside : outside) = middle;
        }
        return outside;
    }

    std::vector<double> offsets_; // each time less the lowest
    std::vector<TypedOffset> typed_;
    double span_ = 0.0;
    double rootMeanSquare_ = 0.0; // of the offsets: sets the width of FT's dips
    double spread_ = 0.0;         // standard deviation of the times
    bool finite_ = true;
};

// The reference a candidate's family is told from: the best dip and the grid's resolution.
struct FamilyReference {
    double omega = 0.0;
    double halfWidth = 0.0;
    double omegaStep = 0.0;
};

std::string FamilyOf(double omega, double halfWidth, const FamilyReference& best) {
    static const std::vector<Ratio> ratios = FamilyRatios();
    if (const int window = WindowAlias(omega); window != 0) {
        return WindowAliasText(window);
    }
    const auto resolution = [&](double width) { return std::max(best.omegaStep, 0.5 * width); };
    const auto near = [&](Ratio ratio, double offset) {
        const double scale = static_cast<double>(ratio.denominator) / ratio.numerator;
        const double tolerance = resolution(halfWidth) + scale * resolution(best.halfWidth);
        return std::abs(std::abs(omega - scale * best.omega) - offset) <= tolerance;
    };
    for (const Ratio ratio : ratios) {
        if (near(ratio, 0.0)) {
            return RatioText(ratio);
        }
    }
    for (const Ratio ratio : ratios) {
        for (int lobe = 1; lobe <= kLargestYearlyLobe; ++lobe) {
            if (near(ratio, lobe * kYearlyStep)) {
                return "yearly side lobe of " + RatioText(ratio);
            }
        }
    }
    for (const Ratio ratio : ratios) {
        for (int alias = 1; alias <= kLargestWindowAlias; ++alias) {
            if (near(ratio, alias * kHalfDayStep)) {
                return (alias % 2 == 1 ? "half-day alias of " : "1-day alias of ") + RatioText(ratio);
            }
        }
    }
    return "unrelated";
}

// The grid and the figures every candidate of one search shares.
struct SearchFrame {
    double omegaLow = 0.0;
    double omegaHigh = 0.0;
    double omegaStep = 0.0;
    double tries = 1.0; // independent frequencies of the range
};

// `halfWidth`, when given, saves measuring the dip: every dip of FT is about as wide in angular
// frequency, the width coming from the spread of the times alone.
Candidate MakeCandidate(const Probe& probe, const SearchFrame& frame, Dip grid, Dip refined,
                        std::optional<double> halfWidth = std::nullopt) {
    Candidate candidate;
    candidate.period = kTwoPi / grid.omega;
    candidate.ft = grid.ft;
    candidate.refinedPeriod = kTwoPi / refined.omega;
    candidate.refinedFT = refined.ft;
    // A window dip is what the sampling alone gives: it says nothing of a period.
    const bool explained = probe.Degenerate() || WindowAlias(refined.omega) != 0;
    candidate.falseAlarm = explained ? 1.0 : FalseAlarmProbability(refined.ft, probe.Count(), frame.tries);
    candidate.halfWidth = halfWidth ? *halfWidth : probe.HalfWidth(refined);
    candidate.gridTooCoarse = candidate.halfWidth > 0 && frame.omegaStep > candidate.halfWidth;
    candidate.typeAgreement = probe.TypeAgreement(refined.omega, candidate.halfWidth);
    return candidate;
}

// Grid points lower than their left neighbour and not above their right one (the first point of a
// flat bottom, as the search's own tie rule), lowest first.
std::vector<std::int32_t> GridMinima(std::span<const double> values) {
    const auto value = [&](std::size_t k) {
        return std::isfinite(values[k]) ? values[k] : std::numeric_limits<double>::infinity();
    };
    std::vector<std::int32_t> minima;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const bool belowLeft = k == 0 || value(k) < value(k - 1);
        const bool notAboveRight = k + 1 == values.size() || value(k) <= value(k + 1);
        if (std::isfinite(values[k]) && belowLeft && notAboveRight) {
            minima.push_back(static_cast<std::int32_t>(k));
        }
    }
    std::stable_sort(minima.begin(), minima.end(), [&](auto a, auto b) { return values[a] < values[b]; });
    return minima;
}

double Omega(const Candidate& candidate) {
    return kTwoPi / candidate.refinedPeriod;
}

// Within a listed dip's width, or in the same sampling window as it.
bool WithinDip(double omega, const Candidate& dip, double width) {
    const int window = WindowAlias(omega);
    return std::abs(omega - Omega(dip)) < 2 * std::max(width, dip.halfWidth) ||
           (window != 0 && window == WindowAlias(Omega(dip)));
}

// The dip the others are told relative to: the deepest that is not a sampling window.
const Candidate& BestDip(const std::vector<Candidate>& dips) {
    const auto real = std::find_if(dips.begin(), dips.end(),
                                   [](const Candidate& dip) { return WindowAlias(Omega(dip)) == 0; });
    return real != dips.end() ? *real : dips.front();
}

std::vector<Candidate> DistinctDips(const Probe& probe, const SearchFrame& frame,
                                    const CandidateSearch& search) {
    std::vector<Candidate> dips;
    const long long examinable = kExaminedPerDip * static_cast<long long>(search.count);
    long long examined = 0;
    for (const std::int32_t index : GridMinima(search.ftValues)) {
        if (static_cast<int>(dips.size()) >= search.count || examined++ >= examinable) {
            break;
        }
        const double omega = frame.omegaLow + frame.omegaStep * index;
        const auto near = [&](double at, double width) {
            return std::any_of(dips.begin(), dips.end(),
                               [&](const Candidate& dip) { return WithinDip(at, dip, width); });
        };
        if (!(omega > 0) || near(omega, 0.0)) {
            continue;
        }
        const Dip refined = probe.Refine(std::max({frame.omegaLow, omega - frame.omegaStep, 0.5 * omega}),
                                         std::min(frame.omegaHigh, omega + frame.omegaStep));
        Candidate candidate = MakeCandidate(probe, frame, {omega, search.ftValues[index]}, refined);
        if (!near(refined.omega, candidate.halfWidth)) {
            dips.push_back(std::move(candidate));
        }
    }
    return dips;
}

// The best dip's relatives inside the range, each at the lowest exact FT within its dip's reach of
// the exact ratio: the true period's own dip is often too shallow on the grid to be listed.
std::vector<Candidate> FamilyMembers(const Probe& probe, const SearchFrame& frame, const Candidate& best) {
    std::vector<Candidate> members;
    const double reach = 2 * std::min(best.halfWidth, frame.omegaHigh - frame.omegaLow) + frame.omegaStep;
    static const std::vector<Ratio> ratios = FamilyRatios();
    for (const Ratio ratio : ratios) {
        const double omega = Omega(best) * ratio.denominator / ratio.numerator;
        if ((ratio.numerator == 1 && ratio.denominator == 1) || omega < frame.omegaLow ||
            omega > frame.omegaHigh) {
            continue;
        }
        const Dip refined =
            probe.Refine(std::max(frame.omegaLow, omega - reach), std::min(frame.omegaHigh, omega + reach));
        members.push_back(MakeCandidate(probe, frame, {omega, probe.FT(omega)}, refined, best.halfWidth));
    }
    return members;
}

// How the picked period stands to the best dip, where P means the best dip's period.
std::string Relation(const std::string& family) {
    if (family == "P") {
        return "the best dip itself";
    }
    return family == "unrelated" ? "not related to the best dip" : family + ", P being the best dip";
}

std::string Percent(double share) {
    return std::to_string(static_cast<int>(std::lround(100 * share))) + "%";
}

CandidatePick Pick(const Probe& probe, const SearchFrame& frame, const std::vector<Candidate>& dips,
                   const FamilyReference& reference) {
    if (dips.empty()) {
        return {std::nullopt, "No dip was found in the searched range; no period is picked.", std::nullopt};
    }
    if (!probe.HasTypes()) {
        return {std::nullopt,
                "Without minimum types the periods 2P/m cannot be told apart (2P, P, 2P/3, P/2, ... fit the "
                "times alike); no period is picked.",
                std::nullopt};
    }
    std::vector<Candidate> pool = dips;
    const Candidate& best = BestDip(dips);
    for (Candidate& member : FamilyMembers(probe, frame, best)) {
        pool.push_back(std::move(member));
    }
    // A fit in accordance with the data: as good as the best dip, allowing for FT growing with the
    // square of the frequency under timing noise, plus a fraction of the spread of FT without a period.
    const double allowance = 0.5 / std::sqrt(8.0 * probe.Count());
    const auto fits = [&](const Candidate& candidate) {
        const double scale = std::max(1.0, std::pow(best.refinedPeriod / candidate.refinedPeriod, 2));
        return candidate.refinedFT <= scale * best.refinedFT + allowance;
    };
    const auto significant = [](const Candidate& c) { return c.falseAlarm <= kSignificantFalseAlarm; };
    if (std::none_of(pool.begin(), pool.end(), significant)) {
        return {std::nullopt,
                "No period is significant (false-alarm probability at most 0.01); no period is picked.",
                std::nullopt};
    }
    std::optional<Candidate> picked;
    for (const Candidate& candidate : pool) {
        const bool agrees = candidate.typeAgreement.value_or(0.0) >= kTypeAgreementNeeded;
        if (significant(candidate) && fits(candidate) && agrees &&
            (!picked || candidate.refinedPeriod > picked->refinedPeriod)) {
            picked = candidate;
        }
    }
    if (!picked) {
        return {std::nullopt, "No significant period agrees with the minimum types; no period is picked.",
                std::nullopt};
    }
    picked->family = FamilyOf(Omega(*picked), picked->halfWidth, reference);
    std::string reason = "The longest significant period whose fit agrees with the minimum types (" +
                         Relation(picked->family) + "): " + Percent(*picked->typeAgreement) + " of " +
                         std::to_string(probe.TypedCount()) +
                         " typed minima fall at whole (primary) or half (secondary) cycles.";
    return {picked->refinedPeriod, std::move(reason), picked};
}

} // namespace

double ExactFT(std::span<const double> times, double origin, double omega) {
    if (times.empty()) {
        return 0.0;
    }
    double sum = 0.0;
    for (const double t : times) {
        const double s = std::sin(omega * (t - origin));
        sum += s * s;
    }
    return sum / static_cast<double>(times.size());
}

CandidateList ListCandidates(const CandidateSearch& search) {
    CandidateList list;
    const bool usable = !search.times.empty() && search.steps >= 0 && search.count > 0 &&
                        search.ftValues.size() == static_cast<std::size_t>(search.steps) + 1 &&
                        std::isfinite(search.omegaLow) && std::isfinite(search.omegaStep) &&
                        search.omegaStep >= 0;
    if (!usable) {
        list.pick.reason = "No search to list candidates from; no period is picked.";
        return list;
    }
    const Probe probe(search);
    SearchFrame frame;
    frame.omegaLow = search.omegaLow;
    frame.omegaStep = search.omegaStep;
    frame.omegaHigh = search.omegaLow + search.omegaStep * search.steps;
    frame.tries = IndependentFrequencies(frame.omegaLow, frame.omegaHigh, probe.Span());
    list.independentFrequencies = frame.tries;
    list.dips = DistinctDips(probe, frame, search);
    if (!list.dips.empty()) {
        const Candidate& best = BestDip(list.dips);
        const FamilyReference reference{Omega(best), best.halfWidth, frame.omegaStep};
        for (Candidate& dip : list.dips) {
            dip.family = FamilyOf(Omega(dip), dip.halfWidth, reference);
            list.gridTooCoarse = list.gridTooCoarse || dip.gridTooCoarse;
        }
        list.pick = Pick(probe, frame, list.dips, reference);
    } else {
        list.pick = Pick(probe, frame, list.dips, {});
    }
    return list;
}

} // namespace quorix
