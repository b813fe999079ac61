#include "ocdiagram/ephemerisfit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <optional>

namespace quorix {

namespace {

constexpr double kDaysPerYear = 365.25;
constexpr double kSecondsPerDay = 86400.0;
// Cycle counts beyond this lose the exactness of half cycles and of their products with the period.
constexpr double kMaxCycle = 1e9;
constexpr int kMaxCountingPasses = 8;
// How many of the latest minima fix the local O-C that the next count starts from; their median
// keeps one stray point from dragging the count.
constexpr std::size_t kLocalWindow = 5;
// The quadratic term is called warranted only when both tests agree on it.
constexpr double kWarrantedP = 0.01;
constexpr double kWarrantedDeltaBic = -2.0;

std::string Printf(const char* format, auto... values) {
    std::string text(static_cast<std::size_t>(std::snprintf(nullptr, 0, format, values...)), '\0');
    std::snprintf(text.data(), text.size() + 1, format, values...);
    return text;
}

std::string ModelName(EphemerisModel model, bool weighted) {
    std::string name = model == EphemerisModel::kLinear ? "linear" : "quadratic";
    return weighted ? "Weighted " + name : "Unweighted " + name;
}

using Matrix3 = std::array<std::array<double, 3>, 3>;

// O-C = c[0] + c[1] E + c[2] E^2 relative to the trial ephemeris, with its covariance.
struct PolynomialSolution {
    std::array<double, 3> coef{};
    Matrix3 cov{};
    double chi2 = 0.0; // the sum the fit minimises
    double ssr = 0.0;  // plain sum of squared residuals, days^2
    double errorScale = 1.0;
};

struct SolveResult {
    std::optional<PolynomialSolution> solution;
    std::string whyNot;
};

// True when the values hold at least `wanted` different numbers; stops at the first `wanted` found.
bool HasDistinct(std::span<const double> values, int wanted) {
    std::vector<double> seen;
    for (const double v : values) {
        if (std::find(seen.begin(), seen.end(), v) == seen.end()) {
            seen.push_back(v);
            if (static_cast<int>(seen.size()) >= wanted) {
                return true;
            }
        }
    }
    return false;
}

std::string WhyNotFittable(std::span<const double> e, int params) {
    const int n = static_cast<int>(e.size());
    if (n < params + 1) {
        return Printf("needs at least %d minima, has %d", params + 1, n);
    }
    if (!HasDistinct(e, 2)) {
        return "all minima are at one cycle count";
    }
    if (!HasDistinct(e, params)) {
        return Printf("needs minima at %d or more different cycle counts", params);
    }
    return "";
}

double Dot(const std::vector<double>& a, const std::vector<double>& b) {
    return std::inner_product(a.begin(), a.end(), b.begin(), 0.0);
}

void SubtractScaled(std::vector<double>& a, double factor, const std::vector<double>& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        a[i] -= factor * b[i];
    }
}

// The cycle counts centred on their weighted mean and scaled into [-1, 1], where the powers 1, u,
// u^2 are far from parallel however large the counts are.
struct CentredCounts {
    double centre = 0.0;
    double spread = 1.0;
    [[nodiscard]] double U(double e) const { return (e - centre) / spread; }
};

CentredCounts Centre(std::span<const double> e, const std::vector<double>& rootWeight) {
    double weightSum = 0.0, weightedE = 0.0;
    for (std::size_t i = 0; i < e.size(); ++i) {
        weightSum += rootWeight[i] * rootWeight[i];
        weightedE += rootWeight[i] * rootWeight[i] * e[i];
    }
    CentredCounts counts{weightedE / weightSum, 0.0};
    for (const double v : e) {
        counts.spread = std::max(counts.spread, std::abs(v - counts.centre));
    }
    return counts;
}

// Thin QR factorisation of the columns in place (they become Q) by modified Gram-Schmidt with each
// column orthogonalised twice; empty when a column is (nearly) a combination of the earlier ones.
std::optional<Matrix3> Factorise(std::vector<std::vector<double>>& q) {
    Matrix3 r{};
    for (std::size_t j = 0; j < q.size(); ++j) {
        const double columnNorm = std::sqrt(Dot(q[j], q[j]));
        for (int pass = 0; pass < 2; ++pass) {
            for (std::size_t k = 0; k < j; ++k) {
                const double projection = Dot(q[k], q[j]);
                r[k][j] += projection;
                SubtractScaled(q[j], projection, q[k]);
            }
        }
        r[j][j] = std::sqrt(Dot(q[j], q[j]));
        if (!(r[j][j] > 1e-10 * columnNorm)) {
            return std::nullopt;
        }
        for (double& v : q[j]) {
            v /= r[j][j];
        }
    }
    return r;
}

std::array<double, 3> SolveUpper(const Matrix3& r, const std::array<double, 3>& z, int params) {
    std::array<double, 3> x{};
    for (int j = params - 1; j >= 0; --j) {
        double sum = z[j];
        for (int k = j + 1; k < params; ++k) {
            sum -= r[j][k] * x[k];
        }
        x[j] = sum / r[j][j];
    }
    return x;
}

// (R^T R)^-1 = R^-1 R^-T, the covariance of unit-variance data.
Matrix3 InverseGram(const Matrix3& r, int params) {
    Matrix3 rInv{};
    for (int j = 0; j < params; ++j) {
        rInv[j][j] = 1.0 / r[j][j];
        for (int i = j - 1; i >= 0; --i) {
            double sum = 0.0;
            for (int k = i + 1; k <= j; ++k) {
                sum += r[i][k] * rInv[k][j];
            }
            rInv[i][j] = -sum / r[i][i];
        }
    }
    Matrix3 inverse{};
    for (int a = 0; a < params; ++a) {
        for (int b = 0; b < params; ++b) {
            for (int k = std::max(a, b); k < params; ++k) {
                inverse[a][b] += rInv[a][k] * rInv[b][k];
            }
        }
    }
    return inverse;
}

// The coefficients in u and their covariance taken back to the cycle count E: c = J beta, J C J^T.
void ToCycleBasis(const CentredCounts& counts, const std::array<double, 3>& beta, const Matrix3& covU,
                  int params, PolynomialSolution& result) {
    const double s = counts.spread, m = counts.centre;
    const Matrix3 jacobian{{
        {1.0, -m / s, m * m / (s * s)},
        {0.0, 1.0 / s, -2.0 * m / (s * s)},
        {0.0, 0.0, 1.0 / (s * s)},
    }};
    for (int a = 0; a < params; ++a) {
        for (int k = 0; k < params; ++k) {
            result.coef[a] += jacobian[a][k] * beta[k];
        }
        for (int b = 0; b < params; ++b) {
            for (int k = 0; k < params; ++k) {
                for (int l = 0; l < params; ++l) {
                    result.cov[a][b] += jacobian[a][k] * covU[k][l] * jacobian[b][l];
                }
            }
        }
    }
}

// Weighted least squares of y on 1, E (and E^2) by a QR factorisation of the design in the centred
// count u. Full Julian dates and cycle counts of 1e5 keep their digits this way; the normal
// equations in E itself would lose most of the quadratic term. sigma is empty for an unweighted fit.
SolveResult SolvePolynomial(std::span<const double> e, std::span<const double> y,
                            std::span<const double> sigma, int params) {
    if (std::string why = WhyNotFittable(e, params); !why.empty()) {
        return {std::nullopt, why};
    }
    const std::size_t n = e.size();
    const double sigmaRef = sigma.empty() ? 1.0 : *std::min_element(sigma.begin(), sigma.end());
    std::vector<double> rootWeight(n, 1.0);
    for (std::size_t i = 0; i < sigma.size(); ++i) {
        rootWeight[i] = sigmaRef / sigma[i];
    }
    const CentredCounts counts = Centre(e, rootWeight);
    std::vector<std::vector<double>> q(params, std::vector<double>(n));
    for (std::size_t i = 0; i < n; ++i) {
        const double u = counts.U(e[i]);
        double power = rootWeight[i];
        for (int j = 0; j < params; ++j, power *= u) {
            q[j][i] = power;
        }
    }
    const std::optional<Matrix3> r = Factorise(q);
    if (!r) {
        return {std::nullopt, "the cycle counts are too close together to separate the terms"};
    }
    std::vector<double> rhs(n);
    for (std::size_t i = 0; i < n; ++i) {
        rhs[i] = rootWeight[i] * y[i];
    }
    std::array<double, 3> z{};
    for (int j = 0; j < params; ++j) {
        z[j] = Dot(q[j], rhs);
        SubtractScaled(rhs, z[j], q[j]);
    }
    const std::array<double, 3> beta = SolveUpper(*r, z, params);

    PolynomialSolution result;
    for (std::size_t i = 0; i < n; ++i) {
        const double u = counts.U(e[i]);
        const double residual = y[i] - (beta[0] + beta[1] * u + beta[2] * u * u);
        result.ssr += residual * residual;
        const double scaled = sigma.empty() ? residual : residual / sigma[i];
        result.chi2 += scaled * scaled;
    }
    // Stated timing errors set the scale; a scatter larger than they allow widens it (the Birge
    // ratio), a smaller one is not trusted to narrow it. Without errors the scatter is the scale.
    double varianceScale = result.chi2 / static_cast<double>(n - params);
    if (!sigma.empty()) {
        result.errorScale = std::sqrt(std::max(1.0, varianceScale));
        varianceScale = sigmaRef * sigmaRef * std::max(1.0, varianceScale);
    }
    Matrix3 covU = InverseGram(*r, params);
    for (auto& row : covU) {
        for (double& v : row) {
            v *= varianceScale;
        }
    }
    ToCycleBasis(counts, beta, covU, params, result);
    return {result, ""};
}

// The regularised incomplete beta function I_x(a, b), by its continued fraction.
double BetaContinuedFraction(double a, double b, double x) {
    constexpr double kTiny = 1e-300;
    double c = 1.0, d = 1.0 - (a + b) * x / (a + 1.0);
    d = 1.0 / (std::abs(d) < kTiny ? kTiny : d);
    double h = d;
    for (int m = 1; m <= 500; ++m) {
        for (const bool even : {true, false}) {
            const double numerator = even ? m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m))
                                          : -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 2 * m + 1));
            d = 1.0 + numerator * d;
            d = 1.0 / (std::abs(d) < kTiny ? kTiny : d);
            c = 1.0 + numerator / c;
            c = std::abs(c) < kTiny ? kTiny : c;
            h *= d * c;
            if (!even && std::abs(d * c - 1.0) < 1e-15) {
                return h;
            }
        }
    }
    return h;
}

double RegularizedIncompleteBeta(double a, double b, double x) {
    if (x <= 0.0) {
        return 0.0;
    }
    if (x >= 1.0) {
        return 1.0;
    }
    const double front =
        std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x));
    if (x < (a + 1.0) / (a + b + 2.0)) {
        return front * BetaContinuedFraction(a, b, x) / a;
    }
    return 1.0 - front * BetaContinuedFraction(b, a, 1.0 - x) / b;
}

// Upper tail of the F distribution with (1, dof) degrees of freedom.
double FTestP(double f, double dof) {
    return std::clamp(RegularizedIncompleteBeta(dof / 2.0, 0.5, dof / (dof + f)), 0.0, 1.0);
}

double SnapToLattice(double cycles, MinimumType type) {
    switch (type) {
    case MinimumType::kPrimary:
        return std::nearbyint(cycles) + 0.0;
    case MinimumType::kSecondary:
        return std::nearbyint(cycles - 0.5) + 0.5;
    case MinimumType::kUnknown:
        break;
    }
    // Adding zero turns the -0 of a count just below zero into 0.
    return std::nearbyint(2.0 * cycles) / 2.0 + 0.0;
}

// The ephemeris the counting follows, as time since the origin: period E + c0 + c1 E + c2 E^2.
struct CountingEphemeris {
    double period = 0.0;
    std::array<double, 3> c{};

    [[nodiscard]] double At(double e) const { return period * e + c[0] + c[1] * e + c[2] * e * e; }
    [[nodiscard]] double Slope(double e) const { return period + c[1] + 2.0 * c[2] * e; }
    // The real cycle count at which the ephemeris reaches `elapsed`, by Newton's method from the
    // trial period's guess; the curvature is small, so a few steps are plenty.
    [[nodiscard]] double CycleAt(double elapsed) const {
        double e = elapsed / period;
        for (int step = 0; step < 4; ++step) {
            const double slope = Slope(e);
            if (!(slope > 0.5 * period && slope < 2.0 * period)) {
                break;
            }
            const double correction = (At(e) - elapsed) / slope;
            e -= correction;
            if (std::abs(correction) < 1e-6) {
                break;
            }
        }
        return e;
    }
};

// The median of the latest residuals; with all five, by a sorting network that needs no branches.
double Median(const std::array<double, kLocalWindow>& latest, std::size_t count) {
    std::array<double, kLocalWindow> v = latest;
    if (count < kLocalWindow) {
        const auto middle = v.begin() + static_cast<std::ptrdiff_t>(count / 2);
        std::nth_element(v.begin(), middle, v.begin() + static_cast<std::ptrdiff_t>(count));
        return *middle;
    }
    constexpr std::array<std::pair<int, int>, 9> kNetwork{
        {{0, 1}, {3, 4}, {2, 4}, {2, 3}, {0, 3}, {0, 2}, {1, 4}, {1, 3}, {1, 2}}};
    for (const auto& [low, high] : kNetwork) {
        const double smaller = std::min(v[low], v[high]);
        v[high] = std::max(v[low], v[high]);
        v[low] = smaller;
    }
    return v[2];
}

MinimumType TypeOf(const EphemerisInput& input, std::size_t i) {
    return input.types.size() == input.times.size() ? input.types[i] : MinimumType::kUnknown;
}

// The minima in time order, laid out as the counting walks them.
struct TimeOrdered {
    std::vector<std::size_t> index; // position in the input
    std::vector<double> elapsed;    // time since the origin, days
    std::vector<MinimumType> types;
    std::vector<double> errors; // empty unless every error can weight a fit
};

// One pass in time order: each count starts from the ephemeris shifted by the median O-C of the
// latest minima, so a slow drift is followed however far it goes.
std::vector<double> CountPass(const TimeOrdered& minima, const CountingEphemeris& ephemeris) {
    std::vector<double> cycles(minima.elapsed.size());
    std::array<double, kLocalWindow> latest{}; // a ring of the latest residuals
    for (std::size_t k = 0; k < cycles.size(); ++k) {
        const std::size_t filled = std::min(k, kLocalWindow);
        const double local = filled == 0 ? 0.0 : Median(latest, filled);
        cycles[k] = SnapToLattice(ephemeris.CycleAt(minima.elapsed[k] - local), minima.types[k]);
        latest[k % kLocalWindow] = minima.elapsed[k] - ephemeris.At(cycles[k]);
    }
    return cycles;
}

std::string ProblemWithInput(const EphemerisInput& input) {
    if (!(std::isfinite(input.period) && input.period > 0.0)) {
        return "the trial period is not a positive number";
    }
    if (input.times.empty()) {
        return "there are no times of minima";
    }
    if (!std::isfinite(input.origin)) {
        return "the time of cycle 0 is not a number";
    }
    for (const double t : input.times) {
        if (!std::isfinite(t)) {
            return "a time of minimum is not a number";
        }
        if (!(std::abs((t - input.origin) / input.period) < kMaxCycle)) {
            return "the trial period is too short for the span of the times";
        }
    }
    return "";
}

// Counts of timing errors that cannot weight a fit: not positive, not a number, or so small that
// their weight overflows.
int UnusableErrors(std::span<const double> errors) {
    return static_cast<int>(std::count_if(errors.begin(), errors.end(), [](double sigma) {
        return !(sigma > 0.0 && std::isfinite(sigma) && std::isfinite(1.0 / (sigma * sigma)));
    }));
}

bool ErrorsUsable(const EphemerisInput& input) {
    return !input.errors.empty() && input.errors.size() == input.times.size() &&
           UnusableErrors(input.errors) == 0;
}

std::vector<double> OCValues(std::span<const double> elapsed, double period,
                             const std::vector<double>& cycles) {
    std::vector<double> oc(cycles.size());
    for (std::size_t i = 0; i < cycles.size(); ++i) {
        oc[i] = elapsed[i] - period * cycles[i];
    }
    return oc;
}

TimeOrdered InTimeOrder(const EphemerisInput& input) {
    std::vector<std::pair<double, std::size_t>> keyed(input.times.size());
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        keyed[i] = {input.times[i], i};
    }
    std::sort(keyed.begin(), keyed.end());
    TimeOrdered minima;
    const bool weighted = ErrorsUsable(input);
    for (const auto& [time, i] : keyed) {
        minima.index.push_back(i);
        minima.elapsed.push_back(time - input.origin);
        minima.types.push_back(TypeOf(input, i));
        if (weighted) {
            minima.errors.push_back(input.errors[i]);
        }
    }
    return minima;
}

// The best ephemeris the current counts give: quadratic when it can be fitted, else linear.
std::optional<CountingEphemeris> RefinedEphemeris(const TimeOrdered& minima, double period,
                                                  const std::vector<double>& cycles) {
    const std::vector<double> oc = OCValues(minima.elapsed, period, cycles);
    for (const int params : {3, 2}) {
        const SolveResult solved = SolvePolynomial(cycles, oc, minima.errors, params);
        if (solved.solution) {
            return CountingEphemeris{period, solved.solution->coef};
        }
    }
    return std::nullopt;
}

bool AllFinite(const EphemerisFit& fit) {
    const double values[] = {fit.t0,
                             fit.t0Err,
                             fit.period,
                             fit.periodErr,
                             fit.q,
                             fit.qErr,
                             fit.dPdE,
                             fit.dPdEErr,
                             fit.dPdtDaysPerYear,
                             fit.dPdtDaysPerYearErr,
                             fit.dPdtSecondsPerYear,
                             fit.dPdtSecondsPerYearErr,
                             fit.rms,
                             fit.chi2,
                             fit.reducedChi2,
                             fit.errorScale};
    return std::all_of(std::begin(values), std::end(values), [](double v) { return std::isfinite(v); });
}

EphemerisFit NotMade(EphemerisModel model, bool weighted, std::string whyNot) {
    EphemerisFit fit;
    fit.model = model;
    fit.weighted = weighted;
    fit.whyNot = std::move(whyNot);
    return fit;
}

EphemerisFit MakeFit(const EphemerisInput& input, const CycleCounts& counts, EphemerisModel model,
                     bool weighted) {
    EphemerisFit fit = NotMade(model, weighted, "");
    const SolveResult solved = SolvePolynomial(
        counts.cycles, counts.oc,
        weighted ? std::span<const double>(input.errors) : std::span<const double>(), fit.Parameters());
    if (!solved.solution) {
        fit.whyNot = solved.whyNot;
        return fit;
    }
    const PolynomialSolution& s = *solved.solution;
    fit.n = static_cast<int>(counts.cycles.size());
    fit.t0 = input.origin + s.coef[0];
    fit.t0Err = std::sqrt(s.cov[0][0]);
    fit.period = input.period + s.coef[1];
    fit.periodErr = std::sqrt(s.cov[1][1]);
    if (model == EphemerisModel::kQuadratic) {
        fit.q = s.coef[2];
        fit.qErr = std::sqrt(s.cov[2][2]);
        fit.dPdE = 2.0 * fit.q;
        fit.dPdEErr = 2.0 * fit.qErr;
        fit.dPdtDaysPerYear = fit.dPdE / fit.period * kDaysPerYear;
        fit.dPdtDaysPerYearErr = fit.dPdEErr / fit.period * kDaysPerYear;
        fit.dPdtSecondsPerYear = fit.dPdtDaysPerYear * kSecondsPerDay;
        fit.dPdtSecondsPerYearErr = fit.dPdtDaysPerYearErr * kSecondsPerDay;
    }
    fit.rms = std::sqrt(s.ssr / fit.n);
    fit.chi2 = s.chi2;
    fit.reducedChi2 = s.chi2 / (fit.n - fit.Parameters());
    fit.errorScale = s.errorScale;
    fit.made = true;
    if (!AllFinite(fit)) {
        return NotMade(model, weighted, "the numbers leave the range of the arithmetic");
    }
    return fit;
}

ModelComparison Compare(const EphemerisReport& report) {
    ModelComparison comparison;
    comparison.weighted = report.errorsUsable;
    const std::string pair = comparison.weighted ? "weighted fits" : "unweighted fits";
    const EphemerisFit* linear = report.Find(EphemerisModel::kLinear, comparison.weighted);
    const EphemerisFit* quadratic = report.Find(EphemerisModel::kQuadratic, comparison.weighted);
    if (!linear || !quadratic || !linear->made || !quadratic->made) {
        comparison.sentence = "No model comparison: the " + pair + " could not both be made.";
        return comparison;
    }
    if (!(quadratic->chi2 > 0.0)) {
        comparison.sentence = "No model comparison: the quadratic passes through every minimum.";
        return comparison;
    }
    const double n = quadratic->n;
    const double dof = n - 3.0;
    const double f = std::max(0.0, (linear->chi2 - quadratic->chi2) / (quadratic->chi2 / dof));
    comparison.fTestP = FTestP(f, dof);
    comparison.deltaBic = n * std::log(quadratic->chi2 / linear->chi2) + std::log(n);
    if (!std::isfinite(comparison.deltaBic)) {
        comparison.fTestP = 1.0;
        comparison.deltaBic = 0.0;
        comparison.sentence = "No model comparison: the numbers leave the range of the arithmetic.";
        return comparison;
    }
    comparison.made = true;
    const bool byF = comparison.fTestP < kWarrantedP;
    const bool byBic = comparison.deltaBic < kWarrantedDeltaBic;
    comparison.quadraticWarranted = byF && byBic;
    // Below the resolution of the arithmetic p is only known to be tiny.
    const std::string p =
        comparison.fTestP < 1e-16 ? std::string("p < 1e-16") : Printf("p = %.2g", comparison.fTestP);
    const std::string figures =
        " (" + pair + "): F-test " + p + Printf(", delta BIC = %+.1f", comparison.deltaBic);
    if (comparison.quadraticWarranted) {
        comparison.sentence = "The quadratic term is warranted" + figures + "; the period is changing.";
    } else if (byF || byBic) {
        comparison.sentence = "The quadratic term is not clearly warranted" + figures +
                              "; the two tests disagree, so more minima "
                              "are needed to tell.";
    } else {
        comparison.sentence =
            "The quadratic term is not warranted" + figures + "; the linear ephemeris is enough.";
    }
    return comparison;
}

void AddNotes(const EphemerisInput& input, EphemerisReport& report) {
    if (!input.types.empty() && input.types.size() != input.times.size()) {
        report.notes.push_back(Printf("The minimum types were ignored: %zu types for %zu times.",
                                      input.types.size(), input.times.size()));
    }
    if (report.errorsGiven && !report.errorsUsable) {
        if (input.errors.size() != input.times.size()) {
            report.notes.push_back(Printf("Weighted fits not made: timing errors for %zu of %zu times.",
                                          input.errors.size(), input.times.size()));
        } else {
            report.notes.push_back(
                Printf("Weighted fits not made: %d of the timing errors are zero, negative "
                       "or not a number.",
                       UnusableErrors(input.errors)));
        }
    }
    for (const EphemerisFit& fit : report.fits) {
        if (!fit.made && !(fit.weighted && !report.errorsUsable)) {
            report.notes.push_back(ModelName(fit.model, fit.weighted) + " fit not made: " + fit.whyNot + ".");
        }
    }
    if (report.counts.carried > 0) {
        report.notes.push_back(Printf("%d cycle counts differ from the nearest count of the trial ephemeris: "
                                      "they were carried in time order from the neighbouring minima.",
                                      report.counts.carried));
    }
    if (!report.counts.settled) {
        report.notes.push_back(Printf("The cycle counts still moved after %d passes; the fits use the last.",
                                      report.counts.passes));
    }
}

// A measured value with enough decimals to show the third significant digit of its error.
std::string FormatValue(double value, double error) {
    if (!(error > 0.0)) {
        return Printf("%.15g", value);
    }
    const int lastDigit = static_cast<int>(std::floor(std::log10(error))) - 2;
    if (std::abs(value) < 1e-3) {
        const double magnitude = std::max(std::abs(value), error);
        const int digits = static_cast<int>(std::floor(std::log10(magnitude))) - lastDigit;
        return Printf("%.*e", std::clamp(digits, 0, 16), value);
    }
    return Printf("%.*f", std::clamp(-lastDigit, 0, 15), value);
}

std::string FormatError(double error) {
    return Printf("%.3g", error);
}

} // namespace

const EphemerisFit* EphemerisReport::Find(EphemerisModel model, bool weighted) const {
    const auto found = std::find_if(fits.begin(), fits.end(), [&](const EphemerisFit& fit) {
        return fit.model == model && fit.weighted == weighted;
    });
    return found == fits.end() ? nullptr : &*found;
}

CycleCounts CountCycles(const EphemerisInput& input) {
    CycleCounts counts;
    counts.problem = ProblemWithInput(input);
    if (!counts.problem.empty()) {
        return counts;
    }
    const TimeOrdered minima = InTimeOrder(input);
    std::vector<double> cycles = CountPass(minima, CountingEphemeris{input.period, {}});
    counts.passes = 1;
    counts.settled = false;
    while (counts.passes < kMaxCountingPasses) {
        const std::optional<CountingEphemeris> refined = RefinedEphemeris(minima, input.period, cycles);
        if (!refined) {
            counts.settled = true;
            break;
        }
        std::vector<double> recounted = CountPass(minima, *refined);
        ++counts.passes;
        if (recounted == cycles) {
            counts.settled = true;
            break;
        }
        cycles = std::move(recounted);
    }
    counts.cycles.resize(cycles.size());
    for (std::size_t k = 0; k < cycles.size(); ++k) {
        counts.cycles[minima.index[k]] = cycles[k];
        const double nearest = SnapToLattice(minima.elapsed[k] / input.period, minima.types[k]);
        counts.carried += cycles[k] != nearest ? 1 : 0;
    }
    std::vector<double> elapsed(input.times.size());
    for (std::size_t i = 0; i < elapsed.size(); ++i) {
        elapsed[i] = input.times[i] - input.origin;
    }
    counts.oc = OCValues(elapsed, input.period, counts.cycles);
    return counts;
}

EphemerisReport FitEphemeris(const EphemerisInput& input) {
    EphemerisReport report;
    report.trialPeriod = std::isfinite(input.period) ? input.period : 0.0;
    report.counts = CountCycles(input);
    report.errorsGiven = !input.errors.empty();
    report.errorsUsable = ErrorsUsable(input);
    for (const EphemerisModel model : {EphemerisModel::kLinear, EphemerisModel::kQuadratic}) {
        for (const bool weighted : {false, true}) {
            if (weighted && !report.errorsGiven) {
                continue;
            }
            if (!report.counts.problem.empty()) {
                report.fits.push_back(NotMade(model, weighted, report.counts.problem));
            } else if (weighted && !report.errorsUsable) {
                report.fits.push_back(NotMade(model, weighted, "the timing errors cannot weight it"));
            } else {
                report.fits.push_back(MakeFit(input, report.counts, model, weighted));
            }
        }
    }
    if (!report.counts.problem.empty()) {
        report.notes.push_back("No fits: " + report.counts.problem + ".");
        report.comparison.sentence = "No model comparison: " + report.counts.problem + ".";
        return report;
    }
    report.comparison = Compare(report);
    AddNotes(input, report);
    return report;
}

std::vector<double> EphemerisResiduals(const EphemerisFit& fit, std::span<const double> times,
                                       std::span<const double> cycles) {
    std::vector<double> residuals(std::min(times.size(), cycles.size()));
    for (std::size_t i = 0; i < residuals.size(); ++i) {
        residuals[i] = fit.made ? times[i] - fit.TimeAt(cycles[i]) : 0.0;
    }
    return residuals;
}

std::vector<std::vector<std::string>> EphemerisTable(const EphemerisReport& report) {
    struct Row {
        const char* label;
        bool quadraticOnly;
        std::string (*cell)(const EphemerisFit&);
    };
    static const Row rows[] = {
        {"T0 (d)", false, [](const EphemerisFit& f) { return FormatValue(f.t0, f.t0Err); }},
        {"T0 error (d)", false, [](const EphemerisFit& f) { return FormatError(f.t0Err); }},
        {"P (d)", false, [](const EphemerisFit& f) { return FormatValue(f.period, f.periodErr); }},
        {"P error (d)", false, [](const EphemerisFit& f) { return FormatError(f.periodErr); }},
        {"Q (d)", true, [](const EphemerisFit& f) { return FormatValue(f.q, f.qErr); }},
        {"Q error (d)", true, [](const EphemerisFit& f) { return FormatError(f.qErr); }},
        {"dP/dt (d/yr)", true,
         [](const EphemerisFit& f) { return FormatValue(f.dPdtDaysPerYear, f.dPdtDaysPerYearErr); }},
        {"dP/dt error (d/yr)", true, [](const EphemerisFit& f) { return FormatError(f.dPdtDaysPerYearErr); }},
        {"dP/dt (s/yr)", true,
         [](const EphemerisFit& f) { return FormatValue(f.dPdtSecondsPerYear, f.dPdtSecondsPerYearErr); }},
        {"dP/dt error (s/yr)", true,
         [](const EphemerisFit& f) { return FormatError(f.dPdtSecondsPerYearErr); }},
        {"RMS (d)", false, [](const EphemerisFit& f) { return Printf("%.3g", f.rms); }},
        {"chi2", false, [](const EphemerisFit& f) { return Printf("%.6g", f.chi2); }},
        {"chi2 / dof", false, [](const EphemerisFit& f) { return Printf("%.4g", f.reducedChi2); }},
        {"n", false, [](const EphemerisFit& f) { return std::to_string(f.n); }},
    };
    std::vector<std::vector<std::string>> table(1, {"Ephemeris"});
    for (const EphemerisFit& fit : report.fits) {
        table[0].push_back(fit.model == EphemerisModel::kLinear ? "Linear" : "Quadratic");
        if (fit.weighted) {
            table[0].back() += ", weighted";
        }
    }
    for (const Row& row : rows) {
        std::vector<std::string> line{row.label};
        for (const EphemerisFit& fit : report.fits) {
            const bool blank = !fit.made || (row.quadraticOnly && fit.model == EphemerisModel::kLinear);
            line.push_back(blank ? (fit.made ? "" : "-") : row.cell(fit));
        }
        table.push_back(std::move(line));
    }
    return table;
}

std::string EphemerisTableTsv(const EphemerisReport& report) {
    std::string text;
    for (const auto& row : EphemerisTable(report)) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            text += (column > 0 ? "\t" : "") + row[column];
        }
        text += "\n";
    }
    return text;
}

std::string EphemerisText(const EphemerisReport& report) {
    const auto table = EphemerisTable(report);
    std::vector<std::size_t> widths(table[0].size(), 0);
    for (const auto& row : table) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    std::string text = Printf("Ephemeris for the trial period %.10g d\n\n", report.trialPeriod);
    for (const auto& row : table) {
        std::string line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            const std::string& cell = row[column];
            const std::string pad(widths[column] - cell.size(), ' ');
            line += column == 0 ? cell + pad : "  " + pad + cell;
        }
        text += line + "\n";
    }
    text += "\n" + report.comparison.sentence + "\n";
    for (const std::string& note : report.notes) {
        text += note + "\n";
    }
    return text;
}

} // namespace quorix
