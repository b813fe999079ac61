#include "search/ftrecurrence.h"

namespace quorix {

namespace {

// `Vectors` vectors of observations advance `Points` grid steps while their terms stay in registers;
// only the running sums of the block go through memory once per pass. The many independent
// recurrences hide the latency of each multiply-add.
template <int Width, int Vectors, int Points>
[[gnu::always_inline]] inline void SumBlocks(const double* twiceCos, double* prev, double* cur,
                                             std::size_t lanes, int points, double* sums) {
    static_assert(Points <= kRecurrenceSlack);
    typedef double Vec __attribute__((vector_size(Width * sizeof(double))));
    // The same vector read and written in place in the arrays of doubles. (A memcpy would be
    // expanded before the per-processor versions are built, with the narrowest moves.)
    typedef double InPlace
        __attribute__((vector_size(Width * sizeof(double)), aligned(sizeof(double)), may_alias));
    constexpr std::size_t slab = static_cast<std::size_t>(Width) * Vectors;
    for (int first = 0; first < points; first += Points) {
        Vec totals[Points] = {};
        for (std::size_t j = 0; j < lanes; j += slab) {
            Vec a[Vectors], earlier[Vectors], term[Vectors];
            for (int v = 0; v < Vectors; ++v) {
                a[v] = *reinterpret_cast<const InPlace*>(twiceCos + j + v * Width);
                earlier[v] = *reinterpret_cast<const InPlace*>(prev + j + v * Width);
                term[v] = *reinterpret_cast<const InPlace*>(cur + j + v * Width);
            }
            for (int k = 0; k < Points; ++k) {
                for (int v = 0; v < Vectors; ++v) {
                    totals[k] += term[v];
                    const Vec next =
                        a[v] * term[v] - earlier[v]; // one fused multiply-add where the processor has it
                    earlier[v] = term[v];
                    term[v] = next;
                }
            }
            for (int v = 0; v < Vectors; ++v) {
                *reinterpret_cast<InPlace*>(prev + j + v * Width) = earlier[v];
                *reinterpret_cast<InPlace*>(cur + j + v * Width) = term[v];
            }
        }
        for (int k = 0; k < Points; ++k) {
            double sum = 0;
            for (int w = 0; w < Width; ++w) {
                sum += totals[k][w];
            }
            sums[first + k] += sum;
        }
    }
}

// Versions for AVX-512, for AVX2 with FMA and for any other x86-64, chosen when the program is
// loaded (the calls below make the compiler emit the chooser); one plain version on other
// processors, or when QUORIX_NO_CLONES asks for it.
#if defined(__x86_64__) && !defined(QUORIX_NO_CLONES)

__attribute__((target("default"))) std::size_t VersionLanes() {
    return 2 * 2;
}
__attribute__((target("default"))) void VersionSum(const double* twiceCos, double* prev, double* cur,
                                                   std::size_t lanes, int points, double* sums) {
    SumBlocks<2, 2, 8>(twiceCos, prev, cur, lanes, points, sums);
}

__attribute__((target("avx2,fma"))) std::size_t VersionLanes() {
    return 4 * 4;
}
__attribute__((target("avx2,fma"))) void VersionSum(const double* twiceCos, double* prev, double* cur,
                                                    std::size_t lanes, int points, double* sums) {
    SumBlocks<4, 4, 8>(twiceCos, prev, cur, lanes, points, sums);
}

__attribute__((target("avx512f"))) std::size_t VersionLanes() {
    return 8 * 8;
}
__attribute__((target("avx512f"))) void VersionSum(const double* twiceCos, double* prev, double* cur,
                                                   std::size_t lanes, int points, double* sums) {
    SumBlocks<8, 8, 6>(twiceCos, prev, cur, lanes, points, sums);
}

#else

std::size_t VersionLanes() {
    return 4 * 2;
}
void VersionSum(const double* twiceCos, double* prev, double* cur, std::size_t lanes, int points,
                double* sums) {
    SumBlocks<2, 4, 8>(twiceCos, prev, cur, lanes, points, sums);
}

#endif

} // namespace

std::size_t RecurrenceLanes() {
    return VersionLanes();
}

void SumRecurrence(const double* twiceCos, double* prev, double* cur, std::size_t lanes, int points,
                   double* sums) {
    VersionSum(twiceCos, prev, cur, lanes, points, sums);
}

} // namespace quorix
