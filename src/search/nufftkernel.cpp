#include "search/nufftkernel.h"

#include <fftw3.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <mutex>
#include <numbers>

namespace quorix {

namespace {

constexpr double kUnit = std::numeric_limits<double>::epsilon() / 2; // the unit roundoff
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// What the kernel may add to an FT value; the kernel's width is the least that keeps to it.
constexpr double kKernelTolerance = 1e-11;
// Deconvolution factors are rotated from one mode to the next and seeded afresh this often.
constexpr std::int32_t kReseedModes = 256;

// The "exponential of semicircle" kernel exp(beta (sqrt(1 - z^2) - 1)) on -1 <= z <= 1, spread over
// `width` cells of the fine grid, with what its error analysis needs.
struct Kernel {
    int width = 0;
    double beta = 0;
    std::vector<double> nodes, nodeWeights; // quadrature of its (even) Fourier transform integrand on [0, 1]
    double error = 0;             // twice the largest relative error of one spread point, |xi| <= pi/2
    double peakDeconvolution = 0; // the largest 1 / transform there
    double peakSum = 0;           // the largest sum of the kernel over the cells one point reaches
    double area = 0;              // its transform at 0, the largest, where every quadrature term is positive

    [[nodiscard]] double At(double z) const {
        return std::exp(beta * (std::sqrt(std::max(0.0, 1 - z * z)) - 1));
    }

    // The kernel's Fourier transform at xi radians per cell: (w/2) int phi(z) cos(xi z w/2) dz.
    [[nodiscard]] double Transform(double xi) const {
        double sum = 0;
        for (std::size_t q = 0; q < nodes.size(); ++q) {
            sum += nodeWeights[q] * At(nodes[q]) * std::cos(xi * nodes[q] * (0.5 * width));
        }
        return 0.5 * width * sum;
    }

    // The first cell a point at fine-grid position s reaches.
    [[nodiscard]] double FirstCell(double s) const { return std::ceil(s - 0.5 * width); }
};

// The positive nodes of the Gauss-Legendre rule with 2 x `half` nodes on [-1, 1], their weights
// doubled: the rule for the integral over [-1, 1] of an even function.
void EvenGaussLegendre(int half, std::vector<double>& nodes, std::vector<double>& weights) {
    const int count = 2 * half;
    nodes.resize(static_cast<std::size_t>(half));
    weights.resize(static_cast<std::size_t>(half));
    for (int i = 0; i < half; ++i) {
        double x = std::cos(std::numbers::pi * (i + 0.75) / (count + 0.5));
        double derivative = 1;
        for (int iteration = 0; iteration < 100; ++iteration) {
            double p0 = 1, p1 = x;
            for (int k = 2; k <= count; ++k) {
                const double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            derivative = count * (x * p1 - p0) / (x * x - 1);
            const double step = p1 / derivative;
            x -= step;
            if (std::fabs(step) < 1e-16) {
                break;
            }
        }
        nodes[static_cast<std::size_t>(i)] = x;
        weights[static_cast<std::size_t>(i)] = 4 / ((1 - x * x) * derivative * derivative);
    }
}

// Measures a kernel: one unit weight at offset s (0 <= s < 1) within its cell, spread, summed with the
// phases of mode xi and divided by the transform, against the exact exp(i xi s), over a dense sample of
// offsets and of the modes a transform uses (|xi| <= pi/2 on a grid twice as fine as the block). The
// error is smooth in both, so twice the largest sampled error bounds it.
Kernel MeasuredKernel(int width) {
    Kernel kernel;
    kernel.width = width;
    kernel.beta = 2.30 * width;
    EvenGaussLegendre((3 * width + 17) / 2, kernel.nodes, kernel.nodeWeights);
    constexpr int offsets = 64, modes = 256;
    double largest = 0;
    for (int m = 0; m <= modes; ++m) {
        const double xi = std::numbers::pi * (static_cast<double>(m) / modes - 0.5);
        const double deconvolution = 1 / kernel.Transform(xi);
        kernel.peakDeconvolution = std::max(kernel.peakDeconvolution, std::fabs(deconvolution));
        for (int o = 0; o < offsets; ++o) {
            const double s = static_cast<double>(o) / offsets;
            const double first = kernel.FirstCell(s);
            double re = 0, im = 0, sum = 0;
            for (int p = 0; p < width; ++p) {
                const double distance = first + p - s;
                const double phi = kernel.At(distance / (0.5 * width));
                re += phi * std::cos(xi * distance);
                im += phi * std::sin(xi * distance);
                sum += phi;
            }
            kernel.peakSum = std::max(kernel.peakSum, sum);
            largest = std::max(largest, std::hypot(re * deconvolution - 1, im * deconvolution));
        }
    }
    kernel.error = 2 * largest;
    kernel.area = kernel.Transform(0);
    return kernel;
}

// The narrowest kernel whose error, halved as it enters an FT value, keeps to the tolerance.
const Kernel& ChosenKernel() {
    static const Kernel kernel = [] {
        // Each cell of width gains about a decimal digit; start one short of the tolerance's digits.
        Kernel candidate;
        for (int width = static_cast<int>(-std::log10(kKernelTolerance)); width <= 16; ++width) {
            candidate = MeasuredKernel(width);
            if (candidate.error / 2 <= kKernelTolerance) {
                break;
            }
        }
        return candidate;
    }();
    return kernel;
}

// Cells on either side of the fine grid that catch the kernel's overhang before it is folded back;
// a multiple of four keeps the grid itself aligned for the transform.
int Padding(const Kernel& kernel) {
    return (kernel.width + 3) / 4 * 4;
}

// The smallest length of the form 2^a 3^b 5^c 7^d at least `least`: FFTW is fastest on those.
std::int32_t SmoothLength(std::int32_t least) {
    for (std::int32_t length = least;; ++length) {
        std::int32_t rest = length;
        for (const std::int32_t prime : {2, 3, 5, 7}) {
            while (rest % prime == 0) {
                rest /= prime;
            }
        }
        if (rest == 1) {
            return length;
        }
    }
}

// Spreading costs n w per piece and the transform a little more per point the longer it is: pieces
// of about 8n points keep the spreading a small share, within 2^15..kNufftMaxBlockPoints.
std::int32_t PiecePoints(const FTGrid& grid, std::int32_t blockPoints) {
    const auto spreadShare = std::bit_ceil(8 * grid.times.size());
    const auto preferred = static_cast<std::int32_t>(std::clamp<std::size_t>(
        spreadShare, std::size_t{1} << 15, static_cast<std::size_t>(kNufftMaxBlockPoints)));
    return std::clamp(blockPoints, 1, std::min(preferred, grid.steps + 1));
}

// The fine grid is at least twice the points of a transform, so every mode it returns has
// |xi| <= pi/2, where the kernel was measured.
std::int32_t FineLength(std::int32_t piecePoints) {
    return SmoothLength(std::max(2 * piecePoints, 64));
}

// The bound for a plan whose transforms have `length` cells; it grows with the length. Per
// observation with d = t - baseTime, Omega the largest grid frequency and h the step, the phase
// 2 omega d of the reference and the transform's (the weight's phase at the block's middle and the
// position 2 h d reduced to turns, times a mode |k| below the grid's points) each carry rounding of
// at most about 8 u (Omega + |h|) |d|; 40 u (Omega + |h|) |d| covers their difference, and
// |cos a - cos b| <= |a - b|. With D the largest deconvolution factor and S the largest kernel sum
// of one point, everything spread adds to at most n S in absolute value: the weights' and kernel's
// own rounding (2 beta + 10) u, the sums in the cells at most n u, the transform at most
// 8 u log2(L) sqrt(L) in the 2-norm, and the deconvolution factors, whose quadrature terms (adding
// up to the area A) are rotated up to kReseedModes times at 6 u each, relatively A D 6 u kReseedModes;
// all of it times D, then halved by the 1/(2n) in front. The reference's own sines, squares and sum
// are within (n + 4) u, the last subtraction within 4 u.
double PlanBound(const FTGrid& grid, std::int32_t length) {
    if (!GridSearchable(grid)) {
        return kInfinity;
    }
    const Kernel& kernel = ChosenKernel();
    const double n = static_cast<double>(grid.times.size());
    const double omegaMax = std::max(std::fabs(grid.omegaLow), std::fabs(GridOmega(grid, grid.steps)));
    double offsets = 0;
    for (const double time : grid.times) {
        offsets += std::fabs(time - grid.baseTime);
    }
    const double phases = 40 * kUnit * (omegaMax + std::fabs(grid.omegaStep)) * offsets / (2 * n);
    const double spread = kernel.peakDeconvolution * kernel.peakSum;
    const double deconvolution = kernel.area * kernel.peakDeconvolution * 6 * kReseedModes;
    const double rounding =
        spread * kUnit *
        ((2 * kernel.beta + 10 + n + deconvolution) / 2 + 4 * std::log2(length) * std::sqrt(length));
    const double bound = 2 * (kernel.error / 2 + phases + rounding + (n + 8) * kUnit);
    return std::isfinite(bound) ? bound : kInfinity;
}

// A point whose reference value could be the block's lowest has a fast value within twice the bound
// of the fast minimum; re-evaluating exactly those in grid order finds the reference's first strict
// minimum. A fast value that is not a number is re-evaluated too and never is the minimum.
FTMinimum ExactMinimum(const FTGrid& grid, std::int32_t first, std::span<double> values, double bound) {
    double lowest = kInfinity;
    for (const double value : values) {
        lowest = std::min(lowest, std::isnan(value) ? kInfinity : value);
    }
    const double threshold = lowest + 2 * bound;
    FTMinimum best;
    ReevaluateNotAbove(grid, first, values, {0, values.size()}, threshold, best);
    return best;
}

// FFTW's planner is not safe to call from two threads at once; running a plan is.
std::mutex& PlannerMutex() {
    static std::mutex mutex;
    return mutex;
}

} // namespace

// One thread's fine grid, with its padding on both sides.
struct NufftPlan::Transform {
    fftw_complex* cells;
    explicit Transform(std::size_t count) : cells(fftw_alloc_complex(count)) {}
    Transform(const Transform&) = delete;
    Transform& operator=(const Transform&) = delete;
    ~Transform() { fftw_free(cells); }
};

NufftPlan::NufftPlan(const FTGrid& grid, std::int32_t blockPoints)
    : grid_(grid), searchable_(GridSearchable(grid)), bound_(kInfinity) {
    if (!searchable_ || grid.steps < 0) {
        searchable_ = false;
        return;
    }
    piecePoints_ = PiecePoints(grid, blockPoints);
    size_ = FineLength(piecePoints_);
    bound_ = PlanBound(grid, size_);
    if (!(bound_ < 1)) {
        return; // the reference everywhere: nothing to prepare
    }
    const Kernel& kernel = ChosenKernel();
    const auto width = static_cast<std::size_t>(kernel.width);
    const std::size_t count = grid.times.size();
    offsets_.resize(count);
    cells_.resize(count);
    weights_.resize(count * width);
    for (std::size_t j = 0; j < count; ++j) {
        offsets_[j] = grid.times[j] - grid.baseTime;
        // The position 2 h d in turns of the fine grid's period, h d / pi, reduced to [0, 1).
        const double turns = grid.omegaStep * offsets_[j] * std::numbers::inv_pi;
        double position = (turns - std::floor(turns)) * size_;
        if (position >= size_) {
            position -= size_;
        }
        const double firstCell = kernel.FirstCell(position);
        cells_[j] = static_cast<std::int32_t>(firstCell) + Padding(kernel);
        for (std::size_t p = 0; p < width; ++p) {
            weights_[j * width + p] =
                kernel.At((firstCell + static_cast<double>(p) - position) / (0.5 * kernel.width));
        }
    }
    // 1 / transform at xi_k = 2 pi k / size for k = 0..piecePoints/2: each node's phase is rotated
    // from mode to mode and taken afresh every kReseedModes modes.
    const std::int32_t modes = piecePoints_ / 2 + 1;
    deconvolution_.resize(static_cast<std::size_t>(modes));
    const double cellAngle = 2 * std::numbers::pi / size_;
    const std::size_t nodes = kernel.nodes.size();
    std::vector<double> scaled(nodes), cosine(nodes), sine(nodes), cosStep(nodes), sinStep(nodes);
    for (std::size_t q = 0; q < nodes; ++q) {
        scaled[q] = 0.5 * kernel.width * kernel.nodeWeights[q] * kernel.At(kernel.nodes[q]);
        cosStep[q] = std::cos(cellAngle * kernel.nodes[q] * (0.5 * kernel.width));
        sinStep[q] = std::sin(cellAngle * kernel.nodes[q] * (0.5 * kernel.width));
    }
    for (std::int32_t k = 0; k < modes; ++k) {
        if (k % kReseedModes == 0) {
            for (std::size_t q = 0; q < nodes; ++q) {
                const double angle = cellAngle * k * kernel.nodes[q] * (0.5 * kernel.width);
                cosine[q] = std::cos(angle);
                sine[q] = std::sin(angle);
            }
        }
        double transform = 0;
        for (std::size_t q = 0; q < nodes; ++q) {
            transform += scaled[q] * cosine[q];
            const double c = cosine[q];
            cosine[q] = c * cosStep[q] - sine[q] * sinStep[q];
            sine[q] = sine[q] * cosStep[q] + c * sinStep[q];
        }
        deconvolution_[static_cast<std::size_t>(k)] = 1 / transform;
    }
    const std::lock_guard lock(PlannerMutex());
    // Planning only looks at the arrays' alignment, which every thread's grid shares.
    const Transform sample(TransformCells());
    fftw_complex* fine = sample.cells + Padding(kernel);
    fftPlan_ = std::shared_ptr<void>(fftw_plan_dft_1d(size_, fine, fine, FFTW_BACKWARD, FFTW_ESTIMATE),
                                     [](void* plan) {
                                         const std::lock_guard inner(PlannerMutex());
                                         fftw_destroy_plan(static_cast<fftw_plan>(plan));
                                     });
}

NufftPlan::~NufftPlan() = default;

std::size_t NufftPlan::TransformCells() const {
    return static_cast<std::size_t>(size_) + 2 * static_cast<std::size_t>(Padding(ChosenKernel()));
}

std::size_t NufftPlan::TransformBytes() const {
    return fftPlan_ ? TransformCells() * sizeof(fftw_complex) : 0;
}

std::size_t NufftPlan::PlanBytes() const {
    return cells_.size() * sizeof(std::int32_t) +
           (weights_.size() + offsets_.size() + deconvolution_.size()) * sizeof(double);
}

// Fast values of grid points first..last (at most piecePoints_) into out[0..last - first].
void NufftPlan::Piece(std::int32_t first, std::int32_t last, double* out, Transform& work) const {
    const Kernel& kernel = ChosenKernel();
    const auto width = static_cast<std::size_t>(kernel.width);
    const std::int32_t padding = Padding(kernel);
    fftw_complex* cells = work.cells;
    std::fill(&cells[0][0], &cells[0][0] + 2 * TransformCells(), 0.0);
    const std::int32_t middle = first + (last - first + 1) / 2;
    const double omega = GridOmega(grid_, middle);
    for (std::size_t j = 0; j < offsets_.size(); ++j) {
        const double phase = 2 * (omega * offsets_[j]);
        const double re = std::cos(phase);
        const double im = std::sin(phase);
        fftw_complex* target = cells + cells_[j];
        const double* weight = weights_.data() + j * width;
        for (std::size_t p = 0; p < width; ++p) {
            target[p][0] += re * weight[p];
            target[p][1] += im * weight[p];
        }
    }
    // The grid is periodic: what overhangs either end belongs to the other.
    for (std::int32_t p = 0; p < padding; ++p) {
        fftw_complex& low = cells[p];
        fftw_complex& wrappedLow = cells[p + size_];
        wrappedLow[0] += low[0];
        wrappedLow[1] += low[1];
        fftw_complex& high = cells[size_ + padding + p];
        fftw_complex& wrappedHigh = cells[padding + p];
        wrappedHigh[0] += high[0];
        wrappedHigh[1] += high[1];
    }
    fftw_complex* fine = cells + padding;
    fftw_execute_dft(static_cast<fftw_plan>(fftPlan_.get()), fine, fine);
    const double scale = 0.5 / static_cast<double>(offsets_.size());
    for (std::int32_t i = first; i <= last; ++i) {
        const std::int32_t mode = i - middle;
        const std::int32_t cell = mode >= 0 ? mode : size_ + mode;
        out[i - first] =
            0.5 - scale * (fine[cell][0] * deconvolution_[static_cast<std::size_t>(std::abs(mode))]);
    }
}

FTMinimum NufftPlan::Block(std::int32_t first, std::int32_t last, std::span<double> values,
                           WorkerPool& pool) const {
    if (!searchable_ || !(0 <= first && first <= last && last <= grid_.steps) ||
        values.size() != static_cast<std::size_t>(last - first) + 1) {
        return {};
    }
    if (!fftPlan_) {
        return LiteralFTBlock(grid_, first, last, values);
    }
    const std::int64_t points = static_cast<std::int64_t>(last) - first + 1;
    const std::int64_t pieces = (points + piecePoints_ - 1) / piecePoints_;
    std::vector<std::unique_ptr<Transform>> work(pool.Slots());
    pool.Run(pieces, [&](std::int64_t piece, unsigned slot) {
        if (!work[slot]) {
            work[slot] = std::make_unique<Transform>(TransformCells());
        }
        const auto pieceFirst = static_cast<std::int32_t>(first + piece * piecePoints_);
        const std::int32_t pieceLast = std::min<std::int32_t>(last, pieceFirst + (piecePoints_ - 1));
        Piece(pieceFirst, pieceLast, values.data() + (pieceFirst - first), *work[slot]);
    });
    return ExactMinimum(grid_, first, values, bound_);
}

FTMinimum NufftFTBlock(const FTGrid& grid, std::int32_t first, std::int32_t last, std::span<double> values,
                       WorkerPool& pool) {
    if (!(0 <= first && first <= last && last <= grid.steps)) {
        return {};
    }
    return NufftPlan(grid, last - first + 1).Block(first, last, values, pool);
}

double NufftErrorBound(const FTGrid& grid) {
    if (grid.steps < 0) {
        return kInfinity;
    }
    return PlanBound(grid, FineLength(PiecePoints(grid, kNufftMaxBlockPoints)));
}

bool PreferNufft(std::size_t observations, std::int64_t points) {
    // Where the transform overtook the recurrence on a two-core machine (timed one after the other
    // on the same grids, about 30 years of full Julian dates): below a few thousand points the
    // spreading weights cost more than the recurrence's whole work.
    struct Crossover {
        std::int64_t pointsBelow;
        std::size_t observationsFrom;
    };
    constexpr Crossover crossovers[] = {
        {3000, std::numeric_limits<std::size_t>::max()}, {10000, 2000}, {50000, 700}, {500000, 450}};
    for (const Crossover& crossover : crossovers) {
        if (points < crossover.pointsBelow) {
            return observations >= crossover.observationsFrom;
        }
    }
    return observations >= 200;
}

} // namespace quorix
